#include "pages/gps_page.h"

namespace qn470 {

CGPSPage::CGPSPage(const PageContext& context, QWidget* parent) : CPage(context, kGpsPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
