#include "pages/counter_page.h"

namespace qn470 {

CCounter::CCounter(const PageContext& context, QWidget* parent)
    : CPage(context, kCounterPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
