#include "AboutDialog.h"
#include "ui_AboutDialog.h"

#include "ui/CenterForm.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace barlink::app {

namespace {

// The program's picture: a scanned barcode on a rounded tile, drawn so it stays sharp at
// any screen scale.
QPixmap applicationPicture(int side, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(side, side) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(1, 1, side - 2, side - 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x26, 0x4f, 0x78));
    painter.drawRoundedRect(tile, side * 0.18, side * 0.18);

    // Bars of varying width, as on a label.
    const qreal unit = side / 32.0;
    const int widths[] = {2, 1, 1, 3, 1, 2, 1, 1, 2, 3, 1, 2};
    qreal x = 7 * unit;
    painter.setBrush(Qt::white);
    for (std::size_t i = 0; i < std::size(widths); ++i) {
        if (i % 2 == 0)
            painter.drawRect(QRectF(x, 7 * unit, widths[i] * unit * 0.9, 14 * unit));
        x += widths[i] * unit * 0.9;
    }
    // The scanner's beam across the bars.
    painter.setBrush(QColor(0xef, 0x53, 0x50));
    painter.drawRect(QRectF(4 * unit, 13.5 * unit, 24 * unit, 1.2 * unit));
    // The label's text line beneath.
    painter.setBrush(QColor(255, 255, 255, 170));
    painter.drawRoundedRect(QRectF(6 * unit, 24 * unit, 20 * unit, 2 * unit), unit, unit);
    return pixmap;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::AboutDialog>())
{
    m_ui->setupUi(this);
    m_ui->imgApp->setPixmap(applicationPicture(64, devicePixelRatioF()));

    QFont productFont = m_ui->lblProdInfo->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 1.25);
    m_ui->lblProdInfo->setFont(productFont);
    m_ui->lblProdInfo->setText(m_ui->lblProdInfo->text() + versionText());

    connect(m_ui->cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    adjustSize();
    setFixedSize(size());
    ui::centerForm(this);
}

AboutDialog::~AboutDialog() = default;

QString AboutDialog::versionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(BARLINK_VERSION_MAJOR)
        .arg(BARLINK_VERSION_MINOR)
        .arg(BARLINK_VERSION_PATCH);
}

} // namespace barlink::app
