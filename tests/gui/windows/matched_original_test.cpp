// A mail of the store whose body comes from its original in the streaming file, as its window
// shows it: the original's addresses and Internet headers where the store keeps none, and a
// line that says so when the original has no text to show.
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTreeView>

#include "edb_writer/store_builder.h"
#include "gui_test_support.h"
#include "message_window.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"
#include "window_test_registry.h"

namespace velmor::test {

namespace {

constexpr uint32_t kSeed = 7;
constexpr int64_t kScanBytes = 3000;

// Opens the listed mail of that subject with Enter, as a user does.
ui::MessageWindow* OpenMail(FrameFixture& fixture, const QString& subject) {
    QTreeView* view = fixture.frame().rightPane()->itemView();
    constexpr int kSubjectCell = 2;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, kSubjectCell);
        if (index.data().toString() == subject) {
            view->setFocus();
            view->setCurrentIndex(index);
            QTest::keyClick(view, Qt::Key_Return);
            const auto windows = fixture.frame().findChildren<ui::MessageWindow*>();
            return windows.isEmpty() ? nullptr : windows.last();
        }
    }
    return nullptr;
}

}  // namespace

class MatchedOriginalTest : public QObject {
    Q_OBJECT

private slots:
    void theOriginalGivesAddressesHeadersAndSaysWhenItHasNoText();
};

void MatchedOriginalTest::theOriginalGivesAddressesHeadersAndSaysWhenItHasNoText() {
    FrameFixture fixture;
    // Mail 1's original has a text part and an attachment, Mail 2's is one PDF.
    stm::WriteCorpusFile(
        fixture.dir / "Store.stm",
        {stm::MakeMessageWithAttachments(1, {{"notes.txt", "text/plain", "one line\r\n"}}, kSeed),
         stm::MakeMessage(stm::MessageKind::SinglePartAttachment, kScanBytes, kSeed, 2)},
        kSeed);
    testdb::StoreBuilder builder;
    testdb::Mailbox mailbox;
    mailbox.name = "Ann Walker";
    testdb::Folder top;
    top.parent = builder.AddMailbox(mailbox);
    top.name = "Top";
    testdb::Folder inbox;
    inbox.parent = builder.AddFolder(top);
    inbox.name = "Inbox";
    inbox.containerClass = "IPF.Note";
    const auto inboxId = builder.AddFolder(inbox);
    for (int i = 1; i <= 2; ++i) {
        testdb::Item mail;
        mail.subject = "Mail " + std::to_string(i);
        mail.sender = "Jürgen Müller";
        mail.fields.messageId = "<carve-" + std::to_string(i) + "@example.org>";
        mail.content.text = "Stored text";
        builder.AddItem(inboxId, mail);
    }
    builder.WriteTo(fixture.dir / "Store.edb");
    fixture.OpenDatabase(fixture.dir / "Store.edb");
    fixture.OpenMailbox(0);
    fixture.ListFolder({"Top", "Inbox"});

    using Row = ui::MessageWindow::HeaderRow;
    ui::MessageWindow* first = OpenMail(fixture, "Mail 1");
    QVERIFY(first != nullptr);
    QCOMPARE(first->headerLabel(Row::kFrom)->text(),
             QString("Jürgen Müller <juergen1@example.org>"));
    QCOMPARE(first->headerLabel(Row::kTo)->text(), QString("Ann Smith <ann@example.net>"));
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QCheckBox* toggle = first->internetHeadersToggle();
    QVERIFY(toggle->isVisible());
    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(4, toggle->height() / 2));
    QVERIFY(
        first->internetHeadersView()->toPlainText().contains("Message-ID: <carve-1@example.org>"));
    QVERIFY(!first->internetHeadersView()->toPlainText().contains("Content-Disposition"));
    first->close();

    ui::MessageWindow* second = OpenMail(fixture, "Mail 2");
    QVERIFY(second != nullptr);
    QCOMPARE(second->bodyView()->toPlainText(),
             QString("This message has no text body; see its attachments."));
    QCOMPARE(second->noteLabel()->text(), QString("Body and attachments from the streaming file."));
}

}  // namespace velmor::test

VELMOR_WINDOW_TEST(velmor::test::MatchedOriginalTest)
#include "matched_original_test.moc"
