// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Security tab: SOS phone numbers, SOS reporting and voice-monitor calls. Unlike most pages
// it shows the record as soon as it opens, whatever the record was filled from.

#include "pages/page.h"

namespace qn470 {

class CSecurityPage : public CPage {
    Q_OBJECT

public:
    explicit CSecurityPage(const PageContext& context, QWidget* parent = nullptr);

protected:
    void onOpen() override;
};

}  // namespace qn470
