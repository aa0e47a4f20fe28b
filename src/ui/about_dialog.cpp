#include "about_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "page_painting.h"
#include "pictures.h"

namespace velmor::ui {

namespace {

// The box measures 288 × 185 dialog units: a quarter of the average character width across,
// an eighth of the character height down.
constexpr int kWidthUnits = 288;
constexpr int kHeightUnits = 185;
constexpr int kHorizontalUnitsPerCharacter = 4;
constexpr int kVerticalUnitsPerCharacter = 8;
constexpr int kMargin = 12;
constexpr int kIconSize = 64;
constexpr int kOkWidth = 90;
constexpr int kOkHeight = 28;

QString AboutText() {
    return QString(
               "<b>Velmor for Exchange Server</b><br>Version %1<br><br>"
               "Recovers the mailboxes, folders and items of damaged Exchange private-store "
               "databases (.EDB). The database is only read, never changed.")
        .arg(VELMOR_VERSION);
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kAboutTitle);
    const QFontMetrics metrics(font());
    const int width = kWidthUnits * metrics.averageCharWidth() / kHorizontalUnitsPerCharacter;
    const int height = kHeightUnits * metrics.height() / kVerticalUnitsPerCharacter;
    setFixedSize(width, height);

    QPalette colours = palette();
    colours.setColor(QPalette::Window, kPageCream);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    auto* banner = new QLabel(this);
    banner->setPixmap(Picture("about-banner"));
    banner->setScaledContents(true);
    banner->setGeometry(0, 0, width, banner->pixmap().height());

    const int top = banner->height() + kMargin;
    auto* icon = new QLabel(this);
    icon->setPixmap(
        Picture("application-icon")
            .scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setGeometry(kMargin, top, kIconSize, kIconSize);

    auto* text = new QLabel(AboutText(), this);
    text->setObjectName("aboutText");
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int textLeft = 2 * kMargin + kIconSize;
    text->setGeometry(textLeft, top, width - textLeft - kMargin,
                      height - top - kOkHeight - 2 * kMargin);

    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    ok->setGeometry((width - kOkWidth) / 2, height - kOkHeight - kMargin, kOkWidth, kOkHeight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace velmor::ui
