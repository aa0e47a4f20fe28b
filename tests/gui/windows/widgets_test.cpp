// The wizard's own widgets, one at a time: the progress bar, the step panel, the path box,
// the open-file dialog, the mailbox list and the picture buttons.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QPainter>
#include <QTest>

#include "back_next_view.h"
#include "file_page.h"
#include "gui_test_support.h"
#include "mailbox_page.h"
#include "percent_progress_bar.h"
#include "picture_button.h"
#include "step_panel.h"
#include "window_test_registry.h"

namespace velmor::test {

namespace {

bool IsGreenFill(QRgb pixel) {
    return qGreen(pixel) > 200 && qRed(pixel) < 200 && qBlue(pixel) < 200;
}

int GreenColumns(const QImage& image, int row) {
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        count += IsGreenFill(image.pixel(x, row)) ? 1 : 0;
    }
    return count;
}

bool HasColour(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void aLongItemStatusKeepsItsCountAndCutsTheNameInItsMiddle();
    void progressBarShowsZeroPercentWithoutAnUpperBound();
    void progressBarFillsUpToItsPercent();
    void stepPanelMarksDoneCurrentAndLaterSteps();
    void pathBoxDropsLeadingBlanksAndTrailingTabsAsTheyAreTyped();
    void databaseDialogShowsEdbFilesInAnyLetterCase();
    void mailboxListKeepsOneSelectedRowAndAWideNameColumn();
    void pictureButtonShowsAPictureForEachState();
};

void WidgetsTest::progressBarShowsZeroPercentWithoutAnUpperBound() {
    ui::PercentProgressBar bar;
    bar.resize(201, 15);
    bar.SetRange(0, 0);
    bar.SetPosition(5);
    QCOMPARE(bar.percent(), 0);
    const QImage image = bar.grab().toImage();
    QCOMPARE(GreenColumns(image, 7), 0);
    QCOMPARE(image.pixelColor(0, 7), QColor(Qt::black));
    QCOMPARE(image.pixelColor(200, 7), QColor(Qt::black));
    // "0%" starts at half the width: its ink lies right of the middle only.
    bool inkLeft = false;
    bool inkRight = false;
    for (int x = 1; x < 200; ++x) {
        for (int y = 1; y < 14; ++y) {
            const bool ink = qGray(image.pixel(x, y)) < 128;
            (x < 100 ? inkLeft : inkRight) |= ink;
        }
    }
    QVERIFY(!inkLeft);
    QVERIFY(inkRight);
}

void WidgetsTest::progressBarFillsUpToItsPercent() {
    ui::PercentProgressBar bar;
    bar.resize(201, 15);
    bar.SetRange(0, 200);
    bar.SetPosition(100);
    QCOMPARE(bar.percent(), 50);
    const QImage image = bar.grab().toImage();
    // The gradient turns green from white: the right half of the filled part is green.
    QVERIFY(IsGreenFill(image.pixel(95, 12)));
    QVERIFY(!IsGreenFill(image.pixel(105, 12)));
    QVERIFY(!IsGreenFill(image.pixel(5, 12)));
}

void WidgetsTest::stepPanelMarksDoneCurrentAndLaterSteps() {
    ui::StepPanel panel(1);
    panel.resize(200, 500);
    const QImage image = panel.grab().toImage();
    QVERIFY(HasColour(image, ui::StepPanel::TitleRect(0, 200), QColor(0, 91, 0)));
    QVERIFY(HasColour(image, ui::StepPanel::TitleRect(1, 200), QColor(255, 0, 0)));
    QVERIFY(HasColour(image, ui::StepPanel::TitleRect(2, 200), QColor(136, 136, 136)));
    QVERIFY(HasColour(image, ui::StepPanel::DescriptionRect(0, 200), QColor(Qt::black)));
    QVERIFY(HasColour(image, ui::StepPanel::DescriptionRect(1, 200), QColor(0, 0, 255)));
    QVERIFY(!HasColour(image, ui::StepPanel::DescriptionRect(2, 200), QColor(0, 0, 255)));

    const auto marker = [&](int index) {
        return QRect(ui::StepPanel::MarkerPosition(index), QSize(16, 16));
    };
    const auto strong = [&](int index, auto isColour) {
        const QRect area = marker(index);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (isColour(image.pixelColor(x, y))) {
                    return true;
                }
            }
        }
        return false;
    };
    const auto green = [](const QColor& c) {
        return c.green() > 150 && c.red() < 100 && c.blue() < 100;
    };
    const auto blue = [](const QColor& c) { return c.blue() > 150 && c.red() < 100; };
    QVERIFY(strong(0, green) && !strong(0, blue));
    QVERIFY(strong(1, blue) && !strong(1, green));
    QVERIFY(!strong(2, blue) && !strong(2, green));
    // Gold frame, one pixel.
    QCOMPARE(image.pixelColor(0, 250), QColor(255, 219, 20));
    QVERIFY(image.pixelColor(1, 250) != QColor(255, 219, 20));
}

void WidgetsTest::pathBoxDropsLeadingBlanksAndTrailingTabsAsTheyAreTyped() {
    RecordingDesktop desktop;
    ui::C1FirstView page(desktop);
    page.resize(900, 500);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QPlainTextEdit* box = page.pathBox();
    QTest::keyClicks(box, "  /data/Priv1.EDB");
    QCOMPARE(page.PathText(), QString("/data/Priv1.EDB"));
    QCOMPARE(box->textCursor().position(), page.PathText().size());

    box->clear();
    QApplication::clipboard()->setText("\t /data/My Store.EDB \t");
    box->paste();
    QCOMPARE(page.PathText(), QString("/data/My Store.EDB "));
    QCOMPARE(box->textCursor().position(), page.PathText().size());

    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(page.PathText(), QString("/data/My Store.EDB "));
    QCOMPARE(box->geometry(), QRect(280, 230, 480, 25));
    QCOMPARE(page.browseButton()->geometry(), QRect(770, 230, 50, 25));
}

void WidgetsTest::databaseDialogShowsEdbFilesInAnyLetterCase() {
    TempDir dir;
    for (const char* name : {"a.edb", "B.EDB", "c.Edb", "d.txt", "e.stm"}) {
        QFile file(QString::fromStdString((dir / name).string()));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const std::unique_ptr<QFileDialog> dialog = ui::MakeDatabaseFileDialog(nullptr);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setDirectory(QString::fromStdString(dir.path().string()));
    QCOMPARE(dialog->nameFilters().size(), 2);
    QCOMPARE(dialog->defaultSuffix(), QString("EDB"));
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->show();

    auto* view = dialog->findChild<QAbstractItemView*>("listView");
    QVERIFY(view != nullptr);
    const auto shown = [&] {
        QStringList names;
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row) {
            names.append(view->model()->index(row, 0, root).data().toString());
        }
        names.sort();
        return names;
    };
    QVERIFY(WaitFor([&] { return shown().size() >= 3; }));
    QTest::qWait(50);
    QCOMPARE(shown(), QStringList({"B.EDB", "a.edb", "c.Edb"}));

    auto* filters = dialog->findChild<QComboBox*>("fileTypeCombo");
    QVERIFY(filters != nullptr);
    QCOMPARE(filters->itemText(0), QString("Exchange Database File (*.EDB)"));
    QCOMPARE(filters->itemText(1), QString("All Files (*.*)"));
    dialog->selectNameFilter(dialog->nameFilters().at(1));
    QVERIFY(WaitFor([&] { return shown().size() == 5; }));
}

void WidgetsTest::mailboxListKeepsOneSelectedRowAndAWideNameColumn() {
    ui::C2SecondView page;
    page.resize(1000, 600);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTreeWidget* list = page.mailboxList();
    QCOMPARE(list->geometry(), QRect(250, 60, 700, 480));
    QCOMPARE(list->columnWidth(0), 50);
    QCOMPARE(list->columnWidth(1), 800);
    page.resize(1400, 600);
    QCOMPARE(list->columnWidth(1), 1200);

    for (int row = 0; row < 3; ++row) {
        page.InsertRow(row, QString::number(row + 1).toStdU16String(), 0);
        page.SetRowName(row, u"Mailbox - " + QString::number(row).toStdU16String());
    }
    QCOMPARE(page.SelectedCount(), 0);
    QCOMPARE(page.SelectionMark(), -1);
    const QRect second = list->visualItemRect(list->topLevelItem(1));
    const QRect third = list->visualItemRect(list->topLevelItem(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, third.center());
    QCOMPARE(page.SelectedCount(), 1);
    QCOMPARE(page.SelectionMark(), 2);
    QCOMPARE(page.RowName(2), std::u16string(u"Mailbox - 2"));
}

void WidgetsTest::pictureButtonShowsAPictureForEachState() {
    QWidget parent;
    auto* button = new ui::PictureButton("help-button", "Help", &parent);
    auto* other = new QPushButton("other", &parent);
    other->move(100, 0);
    parent.show();
    parent.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&parent));
    QCOMPARE(button->size(), QSize(64, 64));
    other->setFocus();
    const QImage normal = button->CurrentPicture().toImage();
    QCOMPARE(normal, QPixmap(":/images/help-button-normal.png").toImage());
    button->setFocus();
    QVERIFY(button->CurrentPicture().toImage() != normal);
    button->setDown(true);
    QCOMPARE(button->CurrentPicture().toImage(), normal);
    button->setDown(false);
    button->setEnabled(false);
    const QImage disabled = button->CurrentPicture().toImage();
    QVERIFY(disabled != normal);
    QVERIFY(disabled.isGrayscale());
}

void WidgetsTest::aLongItemStatusKeepsItsCountAndCutsTheNameInItsMiddle() {
    ui::ButtonBarState state;
    ui::CBackNextView bar(state);
    bar.resize(1000, 80);
    bar.show();
    const QString name =
        "Project Archive 2019 of the regional sales office with every customer letter";
    state.itemStatus.visible = true;
    state.itemStatus.text = u"Exporting 4339 of 4340: " + name.toStdU16String();
    state.Changed();
    QLabel* status = bar.itemStatus();
    QVERIFY2(status->text().startsWith("Exporting 4339 of 4340: Proj"), qPrintable(status->text()));
    QVERIFY2(status->text().endsWith("letter"), qPrintable(status->text()));
    QVERIFY(status->text().contains(QChar(0x2026)));
    QVERIFY(status->fontMetrics().horizontalAdvance(status->text()) <= status->width());
    QCOMPARE(status->toolTip(), "Exporting 4339 of 4340: " + name);
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::WidgetsTest)
#include "widgets_test.moc"
