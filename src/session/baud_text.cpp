#include "session/baud_text.h"

#include <limits>

namespace qn470 {

qint32 parseBaudText(const QString& text) {
    const QString box = text.left(kMaxBaudTextLength);
    qsizetype i = 0;
    while (i < box.size() && (box[i] == u' ' || (box[i] >= u'\t' && box[i] <= u'\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < box.size() && (box[i] == u'+' || box[i] == u'-')) {
        negative = box[i] == u'-';
        ++i;
    }
    // Ten characters hold at most ten digits, which fit in 64 bits.
    qint64 value = 0;
    for (; i < box.size() && box[i] >= u'0' && box[i] <= u'9'; ++i) {
        value = value * 10 + (box[i].unicode() - u'0');
    }
    if (negative) {
        value = -value;
    }
    constexpr qint64 kMin = std::numeric_limits<qint32>::min();
    constexpr qint64 kMax = std::numeric_limits<qint32>::max();
    return static_cast<qint32>(value < kMin ? kMin : (value > kMax ? kMax : value));
}

}  // namespace qn470
