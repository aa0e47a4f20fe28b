// Draws every picture of the desktop application into the directory named on the command
// line (resources/images). The pictures are committed; run scripts/draw-pictures.sh after
// changing a drawing.
#include <QGuiApplication>
#include <QSvgGenerator>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "canvas.h"
#include "glyphs.h"
#include "large_pictures.h"

namespace velmor::pictures {
namespace {

constexpr int kSmall = 16;
constexpr int kButton = 64;

using Glyph = std::function<void(QPainter&)>;

void SaveSmall(const QString& directory, const QString& name, const Glyph& draw) {
    Canvas canvas(kSmall, kSmall);
    draw(canvas.painter());
    canvas.Save(directory, name);
}

void SaveImage(const QString& directory, const QString& name, const QImage& image) {
    Canvas canvas(image.width(), image.height());
    canvas.painter().drawImage(0, 0, image);
    canvas.Save(directory, name);
}

void SaveDrawing(const QString& directory, const QString& name, int size, const Glyph& draw) {
    QSvgGenerator drawing;
    drawing.setFileName(directory + "/" + name + ".svg");
    drawing.setSize(QSize(size, size));
    drawing.setViewBox(QRect(0, 0, size, size));
    drawing.setTitle(name);
    QPainter painter(&drawing);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
}

void SaveButton(const QString& directory, const QString& name, const Glyph& draw) {
    Canvas canvas(kButton, kButton);
    draw(canvas.painter());
    const QImage normal = canvas.Finish();
    SaveImage(directory, name + "-normal", normal);
    SaveImage(directory, name + "-focused", FocusedState(normal));
    SaveImage(directory, name + "-disabled", DisabledState(normal));
}

void DrawAll(const QString& directory) {
    const auto folder = [](QPainter& p) { DrawFolder(p, false); };
    const auto openFolder = [](QPainter& p) { DrawFolder(p, true); };
    // The folder tree's images, by index.
    const std::vector<std::pair<QString, Glyph>> tree = {
        {"tree-folder", folder},
        {"tree-appointments", DrawCalendar},
        {"tree-contacts", DrawContactCard},
        {"tree-tasks", DrawTaskList},
        {"tree-sticky-notes", DrawStickyNote},
        {"tree-deleted-items", DrawTrashCan},
        {"tree-drafts", DrawDraft},
        {"tree-outbox", DrawOutbox},
        {"tree-journal", DrawJournal},
        {"tree-inbox", DrawInbox},
        {"tree-search-folders", DrawSearchFolder},
        {"tree-mailbox", DrawMailboxOwner},
        {"tree-folder-open", openFolder},
        {"tree-spare", folder},
    };
    // The item list's images, by index.
    const std::vector<std::pair<QString, Glyph>> list = {
        {"list-mail", DrawEnvelope},       {"list-marked-mail", DrawMarkedMail},
        {"list-contact", DrawContactCard}, {"list-appointment", DrawCalendar},
        {"list-task", DrawTaskList},       {"list-sticky-note", DrawStickyNote},
        {"list-journal", DrawJournal},
    };
    for (const auto& [name, draw] : tree) {
        SaveSmall(directory, name, draw);
    }
    for (const auto& [name, draw] : list) {
        SaveSmall(directory, name, draw);
    }
    SaveSmall(directory, "mailbox-row", DrawMailboxOwner);
    SaveSmall(directory, "step-current", DrawInformationSign);
    SaveSmall(directory, "step-done", DrawCheckMark);

    SaveButton(directory, "open-button", DrawOpenButton);
    SaveButton(directory, "help-button", DrawHelpButton);
    SaveButton(directory, "about-button", DrawAboutButton);

    SaveImage(directory, "banner-strip", BannerStrip());
    SaveImage(directory, "banner-logo", BannerLogo());
    SaveImage(directory, "about-banner", AboutBanner());
    SaveImage(directory, "button-bar", ButtonBarBackground());
    SaveImage(directory, "help-icon", FilePageHelpIcon());
    SaveImage(directory, "application-icon", ApplicationIcon(kApplicationIconSize));
    // The sizes desktops ask for, and the icon as a drawing for any other size.
    for (const int size : {48, 256}) {
        SaveImage(directory, QString("application-icon-%1").arg(size), ApplicationIcon(size));
    }
    SaveDrawing(directory, "application-icon", kApplicationIconSize, DrawApplicationIcon);
}

}  // namespace
}  // namespace velmor::pictures

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-DIRECTORY\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);  // fonts for the banner texts
    velmor::pictures::DrawAll(QString::fromLocal8Bit(argv[1]));
    return 0;
}
