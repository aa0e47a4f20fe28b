// The texts of steps 1 and 2 in a small window: they wrap onto as many lines as they need and
// nothing covers or cuts them.
#include <QTest>

#include "file_page.h"
#include "gui_test_support.h"
#include "mailbox_page.h"
#include "window_test_registry.h"

namespace velmor::test {

namespace {

constexpr QSize kSmallWindow(800, 600);

// The height the text takes wrapped at the width of area.
int WrappedHeight(const QWidget& page, const QRect& area, int flags, const QString& text) {
    return page.fontMetrics().boundingRect(area, flags, text).height();
}

}  // namespace

class SmallWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theStepTextsAreWholeAt800By600();
};

void SmallWindowTest::theStepTextsAreWholeAt800By600() {
    FrameFixture fixture;
    ui::CMainFrame& frame = fixture.frame();
    frame.resize(kSmallWindow);
    QVERIFY(WaitFor([&] { return frame.size() == kSmallWindow; }));

    const ui::C1FirstView* file = frame.filePage();
    const QRect instruction = file->InstructionRect();
    QVERIFY(instruction.top() >= 0);
    QVERIFY(instruction.bottom() < file->pathBox()->geometry().top());
    QVERIFY(WrappedHeight(*file, instruction, Qt::AlignLeft | Qt::TextWordWrap,
                          ui::kFilePageInstruction) <= instruction.height());

    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    const ui::C2SecondView* mailboxes = frame.mailboxPage();
    QVERIFY(mailboxes->helpText().endsWith("MS Outlook."));
    const QRect help = mailboxes->HelpTextRect();
    const int textBottom =
        help.top() + WrappedHeight(*mailboxes, help,
                                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                                   mailboxes->helpText());
    QVERIFY(textBottom <= mailboxes->mailboxList()->geometry().top());
    QVERIFY(mailboxes->mailboxList()->geometry().bottom() < mailboxes->height());
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::SmallWindowTest)
#include "small_window_test.moc"
