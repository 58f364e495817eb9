// SPDX-License-Identifier: MIT
#pragma once
// A reader for JSON as recordings files mostly hold it: objects, lists, numbers, literals and
// strings without escapes. It gives the value nlohmann's reader would give, faster, or declines.

#include "Json.h"

#include <QByteArrayView>

namespace recinfo {

// Reads bytes as one JSON value standing depth levels deep in its document. Returns false,
// with *value unspecified, where the text is anything but plain: an escape in a string, a
// number that does not fit a double, a key given twice, nesting that reaches MaxJsonDepth, a
// byte order mark, bad syntax or bad UTF-8. The caller then reads it with parseJsonQuietly,
// which gives the verdict.
bool readPlainJson(QByteArrayView bytes, Json* value, int depth);

} // namespace recinfo
