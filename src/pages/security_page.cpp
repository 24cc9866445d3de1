#include "pages/security_page.h"

namespace qn470 {

CSecurityPage::CSecurityPage(const PageContext& context, QWidget* parent)
    : CPage(context, kSecurityPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
