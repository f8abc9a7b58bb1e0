#include "main_window/list_click_guard.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QMouseEvent>

namespace sorvenka {

namespace {

// A selection model that refuses to be emptied by the user. The program empties a list with
// a plain Clear (clearSelection, a rebuild of the items). The views' answers to the user are
// Select, Deselect or Toggle commands: Ctrl+click and Ctrl+Space on the selected item
// deselect it, and a click or drag onto the empty space below the items selects nothing in
// its place. One of those that would leave nothing selected is dropped.
class KeepOneSelectionModel final : public QItemSelectionModel {
  public:
    using QItemSelectionModel::QItemSelectionModel;
    using QItemSelectionModel::select;

    void select(const QItemSelection& selection, SelectionFlags command) override {
        if (emptiesByUser(selection, command)) return;
        QItemSelectionModel::select(selection, command);
    }

  private:
    bool emptiesByUser(const QItemSelection& selection, SelectionFlags command) const {
        if (!(command & (Select | Deselect | Toggle)) || !hasSelection()) return false;
        QItemSelection after = (command & Clear) ? QItemSelection() : this->selection();
        for (const SelectionFlag flag : {Deselect, Toggle, Select})
            if (command & flag) after.merge(selection, flag);
        return after.indexes().isEmpty();
    }
};

}  // namespace

ListClickGuard* ListClickGuard::install(QAbstractItemView* view) {
    return new ListClickGuard(view);
}

ListClickGuard* ListClickGuard::of(const QAbstractItemView* view) {
    return view->findChild<ListClickGuard*>(QString(), Qt::FindDirectChildrenOnly);
}

ListClickGuard::ListClickGuard(QAbstractItemView* view) : QObject(view), view_(view) {
    QItemSelectionModel* previous = view->selectionModel();
    view->setSelectionModel(new KeepOneSelectionModel(view->model(), view));
    // The view's own default model is no longer used by anyone.
    if (previous && previous->parent() == view) delete previous;

    view->viewport()->installEventFilter(this);
    // The view reports a press after it has updated the selection for it.
    connect(view, &QAbstractItemView::pressed, this, &ListClickGuard::onPressed);
}

bool ListClickGuard::eventFilter(QObject* watched, QEvent* event) {
    // The type first: events also arrive while the view is being destroyed.
    if (event->type() == QEvent::MouseButtonPress && watched == view_->viewport()) {
        const auto* press = static_cast<const QMouseEvent*>(event);
        const QModelIndex index = view_->indexAt(press->position().toPoint());
        const bool onSelected = press->button() == Qt::LeftButton && index.isValid() &&
                                view_->selectionModel()->isSelected(index);
        pressedSelected_ = onSelected ? QPersistentModelIndex(index) : QPersistentModelIndex();
    }
    return QObject::eventFilter(watched, event);
}

void ListClickGuard::onPressed(const QModelIndex& index) {
    const QPersistentModelIndex pressed = pressedSelected_;
    pressedSelected_ = QPersistentModelIndex();
    if (pressed.isValid() && pressed == index && view_->selectionModel()->isSelected(index))
        Q_EMIT selectedItemClicked();
}

}  // namespace sorvenka
