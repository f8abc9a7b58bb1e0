#include "main_window/clipped_text_delegate.h"

namespace sorvenka {

void ClippedTextDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->text.size() <= kLongestDrawnText) return;
    qsizetype cut = kLongestDrawnText;
    if (option->text[cut - 1].isHighSurrogate()) --cut;  // a pair stays whole
    option->text.truncate(cut);
}

}  // namespace sorvenka
