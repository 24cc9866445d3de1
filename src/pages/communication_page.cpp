#include "pages/communication_page.h"

namespace qn470 {

CCommunicationPage::CCommunicationPage(const PageContext& context, QWidget* parent)
    : CPage(context, kCommunicationPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
