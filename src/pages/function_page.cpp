#include "pages/function_page.h"

namespace qn470 {

CReportPage1::CReportPage1(const PageContext& context, QWidget* parent)
    : CPage(context, kFunctionPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
