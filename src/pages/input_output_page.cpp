#include "pages/input_output_page.h"

namespace qn470 {

CDigital::CDigital(const PageContext& context, QWidget* parent)
    : CPage(context, kInputOutputPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
