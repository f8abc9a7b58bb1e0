#pragma once

#include <QObject>
#include <QPersistentModelIndex>

class QAbstractItemView;
class QModelIndex;

namespace sorvenka {

// Makes a single-selection list behave as the window's lists must, on any item view:
//
// - A press of the left button on the item that is already selected is a click all the same:
//   selectedItemClicked() reports it, once per press, after the view has handled the press.
//   A press on another item is reported by the selection change alone.
// - The user cannot empty the list: Ctrl+click and Ctrl+Space on the selected item, and a
//   click on the empty space below the items, leave the selection as it is. Only the program
//   empties a list, with clearSelection() or by replacing its items (a selection set to an
//   invalid index, as setCurrentRow(-1) does, is refused like the user's).
//
// The guard gives the view a selection model of its own, so it is installed after the view's
// model is set (a new model brings a new selection model). It lives as a child of the view.
class ListClickGuard : public QObject {
    Q_OBJECT

  public:
    static ListClickGuard* install(QAbstractItemView* view);
    // The guard installed on the view, or nullptr.
    static ListClickGuard* of(const QAbstractItemView* view);

  Q_SIGNALS:
    void selectedItemClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit ListClickGuard(QAbstractItemView* view);
    void onPressed(const QModelIndex& index);

    QAbstractItemView* view_;
    // The item under the last left press when it was the selected one.
    QPersistentModelIndex pressedSelected_;
};

}  // namespace sorvenka
