// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Communication tab: mobile data connection, server, connection timing, acknowledgements,
// and the SMS settings with the table of 36 SMS report templates.
//
// The templates live in the parameter set's event texts. The first opening in a run fills them
// from the built-in defaults; after that only the "Set" button writes them, one at a time.

#include "pages/page.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace qn470 {

class CCommunicationPage : public CPage {
    Q_OBJECT

public:
    // Control ids of the template editor, also the widgets' objectNames.
    enum : int { kTemplateList = 1129, kTemplateEdit = 1128, kSet = 1008 };

    // Characters "Set" keeps of a template.
    static constexpr int kTemplateChars = 95;

    explicit CCommunicationPage(const PageContext& context, QWidget* parent = nullptr);

protected:
    void onOpen() override;
    void afterLoad() override;
    void afterStore(const StoreResult& stored) override;

private:
    void showTemplate(int index);
    void setTemplate();
    void showFirstTemplate();

    QComboBox* m_templateList = nullptr;
    QLineEdit* m_templateEdit = nullptr;
    QPushButton* m_set = nullptr;
};

}  // namespace qn470
