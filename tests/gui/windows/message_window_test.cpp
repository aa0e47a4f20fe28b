#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QTreeView>

#include "edb_writer/detailed_mail_store.h"
#include "gui_test_support.h"
#include "message_window.h"
#include "window_test_registry.h"

namespace velmor::test {

// A mail row of step 3, chosen by double click or Enter, opens the mail in a window of its own.
class MessageWindowTest : public QObject {
    Q_OBJECT

private slots:
    void doubleClickShowsTheHeadersAndThePlainBody();
    void enterShowsHtmlWithoutLoadingAnything();
    void escapeAndControlWCloseItAndTextWrapsAtItsWidth();
    void theSenderIsTheOneTheListShows();
    void addressesStateAndInternetHeadersShow();

private:
    // Opens the demo database's first mailbox and lists its inbox.
    static void ListInbox(FrameFixture& fixture) {
        fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
        fixture.OpenMailbox(0);
        fixture.ListFolder({"Top of Information Store", "Inbox"});
    }
};

void MessageWindowTest::doubleClickShowsTheHeadersAndThePlainBody() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ListInbox(fixture);
    QTreeView* view = fixture.frame().rightPane()->itemView();
    const QModelIndex first = view->model()->index(0, 2);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(first).center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(first).center());

    auto* window = fixture.frame().findChild<ui::MessageWindow*>();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Quarterly budget review"));
    QCOMPARE(window->headerLabel(0)->text(), QString("Carol Hughes"));
    QCOMPARE(window->headerLabel(3)->text(), QString("Quarterly budget review"));
    QVERIFY(!window->headerLabel(2)->text().isEmpty());
    QVERIFY(window->bodyView()->toPlainText().contains("Travel is 4% over plan"));
    QVERIFY(window->bodyView()->isReadOnly());
    QVERIFY(!window->noteLabel()->isVisible());
    window->close();

    // The long body comes whole from its chunks on the long-value pages.
    const QModelIndex third = view->model()->index(2, 2);
    view->setCurrentIndex(third);
    emit view->activated(third);
    const auto windows = fixture.frame().findChildren<ui::MessageWindow*>();
    auto* contract = windows.isEmpty() ? nullptr : windows.last();
    QVERIFY(contract != nullptr);
    const QString text = contract->bodyView()->toPlainText();
    QVERIFY(text.contains("Clause 1: the terms"));
    QVERIFY(text.endsWith("Please sign and return it by Friday."));

    // A mail without a body says so above the empty body.
    fixture.ListFolder({"Top of Information Store", "Sent Items"});
    const QModelIndex sent = view->model()->index(0, 2);
    emit view->activated(sent);
    auto* empty = fixture.frame().findChildren<ui::MessageWindow*>().last();
    QCOMPARE(empty->windowTitle(), QString("Budget figures attached"));
    QCOMPARE(empty->headerLabel(1)->text(), QString("Carol Hughes"));
    QVERIFY(empty->noteLabel()->isVisible());
    QCOMPARE(empty->noteLabel()->text(), QString("This mail has no body."));
    QVERIFY(empty->bodyView()->toPlainText().isEmpty());
    QVERIFY(boxes.seen.isEmpty());
}

void MessageWindowTest::enterShowsHtmlWithoutLoadingAnything() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ListInbox(fixture);
    QTreeView* view = fixture.frame().rightPane()->itemView();
    view->setFocus();
    view->setCurrentIndex(view->model()->index(1, 0));
    QTest::keyClick(view, Qt::Key_Return);

    auto* window = fixture.frame().findChild<ui::MessageWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QString("RE: Team lunch on Friday"));
    QVERIFY(
        window->bodyView()->toPlainText().contains("Shall we meet at the Italian place at noon?"));
    QVERIFY(window->bodyView()->toHtml().contains("italic"));
    QVERIFY(window->bodyView()
                ->loadResource(QTextDocument::ImageResource, QUrl("http://example.com/a.png"))
                .isNull());
    QVERIFY(!window->bodyView()->openLinks());
    QVERIFY(!window->bodyView()->openExternalLinks());
}

void MessageWindowTest::escapeAndControlWCloseItAndTextWrapsAtItsWidth() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    ListInbox(fixture);
    QTreeView* view = fixture.frame().rightPane()->itemView();
    // The contract mail: a long plain body.
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Escape, Qt::NoModifier}, std::pair{Qt::Key_W, Qt::ControlModifier}}) {
        view->setFocus();
        view->setCurrentIndex(view->model()->index(2, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QPointer<ui::MessageWindow> window = fixture.frame().findChild<ui::MessageWindow*>();
        QVERIFY(window != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Narrower than the body's lines: they wrap rather than scroll sideways.
        constexpr int kNarrowWidth = 240;
        window->resize(kNarrowWidth, window->height());
        QVERIFY(WaitFor([&] { return window->bodyView()->width() < kNarrowWidth; }));
        QCOMPARE(window->bodyView()->horizontalScrollBar()->maximum(), 0);
        QTest::keyClick(window->bodyView(), key, modifiers);
        QVERIFY(WaitFor([&] { return window.isNull(); }));
    }
}

void MessageWindowTest::theSenderIsTheOneTheListShows() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    fixture.OpenDatabase(WriteDemoDatabase(fixture.dir.path()));
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top of Information Store", "Drafts"});
    QTreeView* view = fixture.frame().rightPane()->itemView();
    const QStringList row = fixture.ItemRows().value(0).split('|');
    QVERIFY(!row.value(1).isEmpty());
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Return);
    auto* window = fixture.frame().findChild<ui::MessageWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->headerLabel(0)->text(), row.value(1));
}

// A received mail shows the addresses its Internet headers give, its importance and read
// state, and the headers themselves behind the toggle; a sent mail shows Bcc.
void MessageWindowTest::addressesStateAndInternetHeadersShow() {
    FrameFixture fixture;
    BoxAnswerer boxes;
    const auto path = fixture.dir / "Detailed.edb";
    testdb::BuildDetailedMailStore().WriteTo(path);
    fixture.OpenDatabase(path);
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top of Information Store", "Inbox"});
    QTreeView* view = fixture.frame().rightPane()->itemView();
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Return);
    auto* window = fixture.frame().findChild<ui::MessageWindow*>();
    QVERIFY(window != nullptr);
    using Row = ui::MessageWindow::HeaderRow;
    QCOMPARE(window->headerLabel(Row::kFrom)->text(),
             QString("Carol Hughes <carol.hughes@example.com>"));
    QCOMPARE(window->headerLabel(Row::kTo)->text(),
             QString::fromUtf8("Ann Walker <ann.walker@example.org>; "
                               "\xD0\x91\xD0\xBE\xD1\x80\xD0\xB8\xD1\x81 "
                               "\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2 "
                               "<boris@example.ru>"));
    QCOMPARE(window->headerLabel(Row::kCc)->text(),
             QString("Dmitri Orlov <dmitri@example.ru>; audit@example.com"));
    QVERIFY(window->headerShown(Row::kCc));
    QVERIFY(!window->headerShown(Row::kBcc));
    QCOMPARE(window->headerLabel(Row::kImportance)->text(), QString("high"));
    QCOMPARE(window->headerLabel(Row::kRead)->text(), QString("no"));

    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCheckBox* toggle = window->internetHeadersToggle();
    QVERIFY(toggle->isVisible());
    QCOMPARE(toggle->text(), QString("Show Internet headers"));
    QVERIFY(!window->internetHeadersView()->isVisible());
    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(4, toggle->height() / 2));
    QVERIFY(toggle->isChecked());
    QVERIFY(window->internetHeadersView()->isVisible());
    QVERIFY(!window->bodyView()->isVisible());
    QVERIFY(window->internetHeadersView()->toPlainText().startsWith(
        "Received: from mx.example.com by mail.example.org"));
    // The view asks for the system's fixed font, and whatever font the machine gives for it
    // sets every character in the same width (fontconfig does not call every monospaced font
    // fixed-pitch, so QFontInfo::fixedPitch says nothing here).
    const QFont headersFont = window->internetHeadersView()->font();
    QCOMPARE(headersFont, QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(headersFont);
    QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
    window->close();

    fixture.ListFolder({"Top of Information Store", "Sent Items"});
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Return);
    auto* sent = fixture.frame().findChildren<ui::MessageWindow*>().last();
    QCOMPARE(sent->headerLabel(Row::kBcc)->text(), QString("Frank Norris"));
    QVERIFY(sent->headerShown(Row::kBcc));
    QCOMPARE(sent->headerLabel(Row::kRead)->text(), QString("yes"));
    QVERIFY(!sent->internetHeadersToggle()->isVisibleTo(sent));
    QVERIFY(boxes.seen.isEmpty());
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::MessageWindowTest)
#include "message_window_test.moc"
