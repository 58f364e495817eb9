// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The identities a host binds to: type library, class, interface and program identifier.

#include <QString>
#include <QUuid>

/// The identities a host binds to, as the registration file records them.
namespace vxRecInfo::Identity {

inline const QString TypeLibraryName = QStringLiteral("vxRecInfo"); //!< the type library's name
inline const QUuid TypeLibraryId{0x2912bb22, 0x2f28, 0x4ff4, 0x9b, 0x0f, 0x13, 0xcb, 0x10, 0x89, 0xfc, 0x77}; //!< the type library's GUID
inline const QString TypeLibraryVersion = QStringLiteral("1.0"); //!< the type library's version

inline const QString ClassName = QStringLiteral("RecordInfo"); //!< the creatable class
inline const QUuid RecordInfoClsid{0xc7993fc1, 0xe238, 0x437e, 0x97, 0x0d, 0x3a, 0x4d, 0x38, 0xfd, 0xb1, 0xf0}; //!< RecordInfo's CLSID

inline const QString InterfaceName = QStringLiteral("_RecordInfo"); //!< its interface
inline const QUuid RecordInfoIid{0x68035019, 0xdc95, 0x41dc, 0xaa, 0x9f, 0x9e, 0x79, 0x44, 0xba, 0x67, 0x68}; //!< _RecordInfo's IID

inline const QString ProgId = QStringLiteral("vxRecInfo.RecordInfo"); //!< RecordInfo's program identifier

inline const QString ThreadingModel = QStringLiteral("Apartment"); //!< objects live on the thread that made them

} // namespace vxRecInfo::Identity
