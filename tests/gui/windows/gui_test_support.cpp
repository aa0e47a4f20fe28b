#include "gui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "edb_writer/demo_store.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/demo_streaming_file.h"

namespace velmor::test {

namespace {

constexpr int kLookInterval = 5;

}  // namespace

BoxAnswerer::BoxAnswerer(QMessageBox::StandardButton answer) : answer_(answer) {
    connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::Look);
    timer_.start(kLookInterval);
}

QStringList BoxAnswerer::Texts() const {
    QStringList texts;
    for (const SeenBox& box : seen) {
        texts.append(box.text);
    }
    return texts;
}

void BoxAnswerer::Look() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    const SeenBox shown{box->windowTitle(), box->text(), box->icon(),
                        qobject_cast<ui::CMainFrame*>(box->parentWidget()) != nullptr};
    seen.append(shown);
    if (onBox) {
        onBox(shown);
    }
    QAbstractButton* button = box->button(answer_);
    if (button == nullptr) {
        button = box->button(QMessageBox::Ok);
    }
    button->click();
}

std::filesystem::path WriteDemoDatabase(const std::filesystem::path& directory) {
    const std::filesystem::path path = directory / "Demo.edb";
    testdb::BuildDemoStore().WriteTo(path);
    return path;
}

void WriteDemoStreamingFile(const std::filesystem::path& path) {
    stm::WriteStreamingFile(path, stm::DemoStreamingFile());
}

QAction* CodePageMenuAction(ui::CMainFrame& frame) {
    for (QAction* menu : frame.menuBar()->actions()) {
        if (menu->text() == "Code &Page") {
            return menu;
        }
    }
    return nullptr;
}

QAction* CodePageAction(ui::CMainFrame& frame, const QString& text) {
    for (QAction* action : CodePageMenuAction(frame)->menu()->actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    return QTest::qWaitFor(done, milliseconds);
}

FrameFixture::FrameFixture(const QString& executableName) : tmpDir_(dir.path()) {
    const QString executable =
        QString::fromStdString((dir / executableName.toStdString()).string());
    frame_ = std::make_unique<ui::CMainFrame>(desktop, executable);
    frame_->resize(1280, 800);
    frame_->show();
    if (!QTest::qWaitForWindowExposed(frame_.get())) {
        qWarning("the main window was not exposed");
    }
}

FrameFixture::~FrameFixture() {
    frame_.reset();
}

void FrameFixture::OpenDatabase(const std::filesystem::path& path) {
    frame_->filePage()->pathBox()->setPlainText(QString::fromStdString(path.string()));
    ClickNext();
    WaitFor([this] { return Idle(); });
}

void FrameFixture::OpenMailbox(int row) {
    QTreeWidget* list = frame_->mailboxPage()->mailboxList();
    list->setCurrentItem(list->topLevelItem(row));
    ClickNext();
    WaitFor([this] { return Idle() && frame_->buttonBar()->nextButton()->isEnabled(); });
}

void FrameFixture::ListFolder(const QStringList& pathBelowRoot) {
    QTreeWidgetItem* item = TreeItem(pathBelowRoot);
    ClickLabel(item);
    WaitFor([this] { return Idle(); });
}

void FrameFixture::ClickNext() {
    QTest::mouseClick(frame_->buttonBar()->nextButton(), Qt::LeftButton);
}

void FrameFixture::ClickBack() {
    QTest::mouseClick(frame_->buttonBar()->backButton(), Qt::LeftButton);
}

void FrameFixture::ClickStop() {
    QPushButton* stop = frame_->buttonBar()->stopButton();
    WaitFor([stop] { return stop->isVisible() && stop->isEnabled(); });
    QTest::mouseClick(frame_->buttonBar()->stopButton(), Qt::LeftButton);
}

QTreeWidgetItem* FrameFixture::TreeItem(const QStringList& pathBelowRoot) const {
    QTreeWidget* tree = frame_->leftPane()->folderTree();
    QTreeWidgetItem* item = tree->topLevelItem(0);
    for (const QString& name : pathBelowRoot) {
        if (item == nullptr) {
            return nullptr;
        }
        item->setExpanded(true);
        QTreeWidgetItem* child = nullptr;
        for (int i = 0; i < item->childCount() && child == nullptr; ++i) {
            if (item->child(i)->text(0) == name) {
                child = item->child(i);
            }
        }
        item = child;
    }
    return item;
}

void FrameFixture::ClickLabel(QTreeWidgetItem* item) {
    ui::CFolderTreeCtrl* tree = frame_->leftPane()->folderTree();
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->LabelRect(item).center());
}

void FrameFixture::ClickCheckBox(QTreeWidgetItem* item) {
    ui::CFolderTreeCtrl* tree = frame_->leftPane()->folderTree();
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->CheckBoxRect(item).center());
}

QStringList FrameFixture::ItemRows() const {
    const ui::ItemListModel& list = *frame_->rightPane()->itemList();
    QStringList rows;
    for (int row = 0; row < list.rowCount(); ++row) {
        rows.append(list.RowTexts(row).join('|'));
    }
    return rows;
}

QStringList FrameFixture::MailboxRows() const {
    QTreeWidget* list = frame_->mailboxPage()->mailboxList();
    QStringList rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        rows.append(list->topLevelItem(row)->text(0) + "|" + list->topLevelItem(row)->text(1));
    }
    return rows;
}

// No worker runs and the bar shows Next again.
bool FrameFixture::Idle() const {
    return !frame_->wizard().workers().AnyRunning() &&
           frame_->buttonBar()->nextButton()->isVisible();
}

}  // namespace velmor::test
