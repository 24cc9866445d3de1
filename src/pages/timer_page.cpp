#include "pages/timer_page.h"

namespace qn470 {

CReportPage2::CReportPage2(const PageContext& context, QWidget* parent)
    : CPage(context, kTimerPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
