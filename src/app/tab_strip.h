#pragma once

// The strip of tab buttons above the pages: flat buttons of a fixed size, labels on the left,
// wrapping onto as many rows as the width needs.

#include <QWidget>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QPushButton;

namespace qn470 {

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

    // The height of the strip at a given width: one row of tabs per kTabWidth that fits.
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override { return true; }
    QSize sizeHint() const override;

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int tabsPerRow(int width) const;
    void placeButtons();

    QButtonGroup* m_group;
    std::vector<QPushButton*> m_buttons;
    int m_current = -1;
};

}  // namespace qn470
