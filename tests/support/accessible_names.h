#pragma once

// What a screen reader is given for the controls of a window, read through Qt's accessibility
// interface as an assistive tool reads it.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <vector>

namespace sorvenka::testing {

// The name, or for a combo box (whose name on this system is its current text) the name of
// the label that labels it, as the screen reader announces it.
inline QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (face == nullptr) return QString();
    if (qobject_cast<QComboBox*>(widget)) {
        const auto labels = face->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    }
    return face->text(QAccessible::Name);
}

// The text boxes, lists, combo boxes and buttons of the window that the user can reach (the
// pop-up lists inside combo boxes and hidden controls left out).
inline std::vector<QWidget*> SpokenControls(QWidget* window) {
    std::vector<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->focusPolicy() == Qt::NoFocus) continue;
        if (qobject_cast<QComboBox*>(w->parentWidget()) ||
            (w->parentWidget() && w->parentWidget()->inherits("QComboBoxPrivateContainer")))
            continue;
        if (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget())) continue;
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
            qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractButton*>(w) ||
            qobject_cast<QComboBox*>(w))
            controls.push_back(w);
    }
    return controls;
}

}  // namespace sorvenka::testing
