// SPDX-License-Identifier: Apache-2.0
#include "session/baud_text.h"

#include <QByteArray>
#include <limits>
#include <string_view>

#include "config/decimal_text.h"

namespace qn470 {

qint32 parseBaudText(const QString& text) {
    // Characters beyond Latin-1 become '?', which ends the number just as they did before.
    const QByteArray box = text.left(kMaxBaudTextLength).toLatin1();
    const DecimalMode mode{DecimalBlanks::CSpace, DecimalSign::Read,
                           std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    return static_cast<qint32>(
        readLeadingDecimal(std::string_view(box.constData(), static_cast<std::size_t>(box.size())),
                           mode)
            .value);
}

}  // namespace qn470
