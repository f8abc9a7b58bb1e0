// Saving the shown chart as a PNG file in the rec folder.
#include <QBuffer>
#include <QPainter>

#include "common/platform.h"
#include "common/text_tests.h"
#include "export/export_file.h"
#include "export/file_name_prompt.h"
#include "progress_window/progress_window.h"

namespace sorvenka {

QString ProgressWindow::proposedPngName() const {
    const ChartKind kind = chartKind();
    const QString day = kind == ChartKind::Timeline ? timelineDay_ : FormatYmd(last_);
    QString name = QStringLiteral("Progress") +
                   QString(day).replace(QLatin1Char('/'), QString()).insert(4, QLatin1Char('_'));
    if (kind != ChartKind::Timeline && kind != ChartKind::Weekly)
        name += QLatin1Char('_') + selectedGrpCd() + selectedExerCd();
    return name + QLatin1Char('_') + ChartKindWord(kind) + QStringLiteral(".png");
}

QString ProgressWindow::pngTitle() const {
    const ChartKind kind = chartKind();
    const QString chart = cboChart->currentText();
    if (kind == ChartKind::Timeline) return timelineDay_ + QStringLiteral("　") + chart;
    const QString period =
        lblPeriod->text() + QStringLiteral("（") + cboPeriod->currentText() + QStringLiteral("）");
    if (kind == ChartKind::Weekly) return chart + QStringLiteral("　") + period;
    return cboGrp->currentText().mid(3) + QStringLiteral("・") + cboExer->currentText().mid(3) +
           QStringLiteral("　") + chart + QStringLiteral("　") + period;
}

void ProgressWindow::savePng() {
    const QString path = AskFileNameInRecFolder(
        platform_, recFolder_, QStringLiteral("保存するファイル名を指定してください"),
        QStringLiteral("グラフの保存"), proposedPngName());
    if (path.isEmpty()) return;
    // The chart under a line that names the exercise, the chart and the period.
    const QPixmap shot = chartView->grab();
    const int band = fontMetrics().height() * 2;
    QImage image(shot.width(), shot.height() + band, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QFont font = this->font();
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(8, 0, image.width() - 16, band), Qt::AlignVCenter | Qt::AlignLeft,
                         pngTitle());
        painter.drawPixmap(0, band, shot);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        platform_.message(QStringLiteral("グラフを画像にできませんでした。"));
        return;
    }
    QString message;
    if (!WriteFileSafely(path, png, message)) {
        platform_.message(message);
        return;
    }
    lblNote->setText(QStringLiteral("保存しました: ") + path);
    platform_.message(QStringLiteral("グラフを保存しました。\r\n") + path);
}

}  // namespace sorvenka
