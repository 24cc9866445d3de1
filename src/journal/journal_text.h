// SPDX-License-Identifier: Apache-2.0
#pragma once

// How a tracker's text goes into the journal, and how any stored text is shown.

#include <QByteArray>
#include <QString>
#include <string_view>

#include "config/shown_text.h"

namespace qn470 {

// A tracker's text is single-byte (the pages edit it as Latin-1), not UTF-8: each byte becomes
// the code point of the same number (U+0000-U+00FF), so every byte, one that is not UTF-8 too,
// is stored exactly and comes back with QString::toLatin1(); nothing becomes U+FFFD.
inline QString trackerText(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// escapeControls (config/shown_text.h) for Qt text: what a terminal, the window or a CSV shows of
// a stored value.
inline QString escapeControls(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return QString::fromStdString(
        escapeControls(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
}

}  // namespace qn470
