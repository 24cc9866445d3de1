// SPDX-License-Identifier: Apache-2.0
#pragma once

// The strip of tab buttons above the pages: flat buttons of a fixed size, labels on the left,
// wrapping onto as many rows as the width needs. With a tab focused, Left and Right (and
// Ctrl+Tab, Ctrl+Shift+Tab) select the neighbouring tab. Assistive technology sees a page tab
// list.

#include <QWidget>
#include <vector>

class QAbstractButton;
class QButtonGroup;

namespace qn470 {

class CTabButton;

class CTabStrip : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTabWidth = 111;
    static constexpr int kTabHeight = 30;
    static constexpr int kMargin = 2;
    static constexpr int kRowGap = 2;

    explicit CTabStrip(QWidget* parent = nullptr);

    int addTab(const QString& label);
    int count() const { return static_cast<int>(m_buttons.size()); }
    QString tabText(int index) const;
    QAbstractButton* tabButton(int index) const;

    int currentIndex() const { return m_current; }

    // Selects a tab as a click does; currentChanged follows when the selection changes.
    void setCurrentIndex(int index);

    // A small count badge on the tab's button (its text stays); 0 removes it.
    void setMarkCount(int index, int count);
    int markCount(int index) const;

    // The free space right of the last tab, in strip coordinates (empty when the last row is
    // full).
    QRect freeSpace() const;

    // The height of the strip at a given width: one row of tabs per kTabWidth that fits.
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override { return true; }
    QSize sizeHint() const override;

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int tabsPerRow(int width) const;
    void placeButtons();
    void step(int delta);
    void announceSelection(int index);

    QButtonGroup* m_group;
    std::vector<CTabButton*> m_buttons;
    int m_current = -1;
};

}  // namespace qn470
