#include "pages/stopwatch_page.h"

namespace qn470 {

CStopwatch::CStopwatch(const PageContext& context, QWidget* parent)
    : CPage(context, kStopwatchPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
