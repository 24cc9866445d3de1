// SPDX-License-Identifier: Apache-2.0
#pragma once

// The search field right of the tab strip: typing lists the parameters whose code, label, hint
// or tab name match ("E1", "server port", "battery"); Up and Down move in the list, Enter or a
// click goes to the parameter, Escape closes the list and gives the focus back to where it was.
// Ctrl+F anywhere in the window comes here.
//
//   auto* search = new CSearchBox(index, view);
//   search->installShortcut();
//   connect(search, &CSearchBox::parameterChosen, view, &CconfigToolView::focusParameter);

#include <QLineEdit>
#include <QPointer>
#include <vector>

class QListWidget;

namespace qn470 {

class ParameterIndex;
struct IndexedParameter;

class CSearchBox : public QLineEdit {
    Q_OBJECT

public:
    // The most matches the list shows.
    static constexpr int kMaxShown = 50;

    // The list of matches is a child of parent, shown over it below the field.
    CSearchBox(const ParameterIndex& index, QWidget* parent);
    ~CSearchBox() override;

    // Ctrl+F (the platform's Find key) in the parent's window focuses the field.
    void installShortcut();

    // As if the user pressed Ctrl+F and typed text: the list shows even before the window is
    // active.
    void searchFor(const QString& text);

    // The list of matches; hidden when there is nothing to show.
    QListWidget* matchList() const { return m_list; }
    // The matches of the text as it stands, best first.
    const std::vector<const IndexedParameter*>& matches() const { return m_matches; }

signals:
    void parameterChosen(const IndexedParameter& parameter);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showMatches();
    void showList();
    void placeList();
    void choose(int row);
    void giveFocusBack();
    void onFocusChanged(QWidget* old, QWidget* now);

    const ParameterIndex& m_index;
    QListWidget* m_list;
    std::vector<const IndexedParameter*> m_matches;
    // Whoever had the focus before the search field took it.
    QPointer<QWidget> m_previousFocus;
};

}  // namespace qn470
