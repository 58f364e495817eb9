// SPDX-License-Identifier: MIT
#pragma once
// The identities a host binds to: type library, class, interface and program identifier.

#include <QString>
#include <QUuid>

namespace vxRecInfo::Identity {

inline const QString TypeLibraryName = QStringLiteral("vxRecInfo");
inline const QUuid TypeLibraryId{0x2912bb22, 0x2f28, 0x4ff4, 0x9b, 0x0f, 0x13, 0xcb, 0x10, 0x89, 0xfc, 0x77};
inline const QString TypeLibraryVersion = QStringLiteral("1.0");

inline const QString ClassName = QStringLiteral("RecordInfo");
inline const QUuid RecordInfoClsid{0xc7993fc1, 0xe238, 0x437e, 0x97, 0x0d, 0x3a, 0x4d, 0x38, 0xfd, 0xb1, 0xf0};

inline const QString InterfaceName = QStringLiteral("_RecordInfo");
inline const QUuid RecordInfoIid{0x68035019, 0xdc95, 0x41dc, 0xaa, 0x9f, 0x9e, 0x79, 0x44, 0xba, 0x67, 0x68};

inline const QString ProgId = QStringLiteral("vxRecInfo.RecordInfo");

inline const QString ThreadingModel = QStringLiteral("Apartment");

} // namespace vxRecInfo::Identity
