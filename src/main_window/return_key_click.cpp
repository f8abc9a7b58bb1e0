#include "main_window/return_key_click.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace sorvenka {

namespace {

class ReturnKeyClick final : public QObject {
  public:
    explicit ReturnKeyClick(QAbstractButton* button) : QObject(button), button_(button) {
        button->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != button_ || event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        // One press, one click: a held key would otherwise store a set again and again.
        if (!key->isAutoRepeat() && button_->isEnabled()) button_->click();
        return true;
    }

  private:
    QAbstractButton* button_;
};

}  // namespace

void ClickOnReturnKey(QAbstractButton* button) {
    new ReturnKeyClick(button);
}

}  // namespace sorvenka
