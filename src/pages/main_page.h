// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Main tab: identity, SIM, battery alarm, data logger, debug output and report formats, with
// the values only the tracker reports (firmware version, IMEI, IMSI) shown read-only.

#include "pages/page.h"

class QPushButton;

namespace qn470 {

class CMainPage : public CPage {
    Q_OBJECT

public:
    enum : int { kSubmit = 1 };

    explicit CMainPage(const PageContext& context, QWidget* parent = nullptr);

protected:
    void afterLoad() override;

private:
    void submit();

    QPushButton* m_submit = nullptr;
};

}  // namespace qn470
