// SPDX-License-Identifier: Apache-2.0
#pragma once

// One button of the tab strip: a flat checkable button that can carry a small count badge in
// its top right corner (how many values of its page changed) without changing its text.

#include <QPushButton>

namespace qn470 {

class CTabButton : public QPushButton {
    Q_OBJECT

public:
    explicit CTabButton(const QString& label, QWidget* parent = nullptr);

    // 0 removes the badge. Also the button's accessible description ("3 changed").
    void setMarkCount(int count);
    int markCount() const { return m_markCount; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_markCount = 0;
};

}  // namespace qn470
