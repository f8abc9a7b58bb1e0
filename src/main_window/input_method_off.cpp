#include "main_window/input_method_off.h"

#include <QInputMethodQueryEvent>
#include <QLineEdit>

namespace sorvenka {

namespace {

class InputMethodOff final : public QObject {
  public:
    explicit InputMethodOff(QLineEdit* box) : QObject(box), box_(box) {
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || event->type() != QEvent::InputMethodQuery)
            return QObject::eventFilter(watched, event);
        auto* query = static_cast<QInputMethodQueryEvent*>(event);
        const auto queries = static_cast<unsigned>(query->queries().toInt());
        for (unsigned bit = 0; bit < 32; ++bit) {
            if (!(queries & (1u << bit))) continue;
            const auto property = static_cast<Qt::InputMethodQuery>(1u << bit);
            query->setValue(property, property == Qt::ImEnabled ? QVariant(false)
                                                                : box_->inputMethodQuery(property));
        }
        query->accept();
        return true;
    }

  private:
    QLineEdit* box_;
};

}  // namespace

void SwitchInputMethodOff(QLineEdit* box) {
    new InputMethodOff(box);
}

}  // namespace sorvenka
