#include "code_page_menu.h"

#include <QActionGroup>
#include <QSettings>

#include "edb/eight_bit_code_page.h"
#include "qt_text.h"
#include "wizard/code_page_choice.h"

namespace velmor::ui {

namespace {

const QString kCodePageSetting = "Settings/codePage";
constexpr int kDetect = 0;

}  // namespace

CodePageMenu::CodePageMenu(QWidget* parent) : QMenu("Code &Page", parent) {
    const int remembered = QSettings().value(kCodePageSetting, kDetect).toInt();
    auto* group = new QActionGroup(this);
    auto add = [&](const QString& text, int codePage) {
        QAction* action = addAction(text, this, [this, codePage] { Choose(codePage); });
        action->setCheckable(true);
        action->setChecked(codePage == remembered);
        group->addAction(action);
    };
    add("&Detect", kDetect);
    addSeparator();
    for (const OfferedCodePage& offered : kOfferedCodePages) {
        add(ToQString(std::u16string(offered.name)), offered.codePage);
    }
    if (group->checkedAction() == nullptr) {
        group->actions().front()->setChecked(true);
    }
    const bool detect = group->checkedAction() == group->actions().front();
    ChooseEightBitCodePage(detect ? std::nullopt : std::optional<int>(remembered));
}

void CodePageMenu::Choose(int codePage) {
    QSettings().setValue(kCodePageSetting, codePage);
    emit chosen(codePage == kDetect ? std::nullopt : std::optional<int>(codePage));
}

}  // namespace velmor::ui
