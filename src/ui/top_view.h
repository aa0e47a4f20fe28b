#pragma once

#include <QPixmap>
#include <QWidget>

#include "picture_button.h"

namespace velmor::ui {

// The banner across the top of the window: a stretched background strip, the product logo at
// the right, and the Open, Help and About buttons.
class CTopView : public QWidget {
    Q_OBJECT

public:
    explicit CTopView(QWidget* parent = nullptr);

    PictureButton* openButton() const { return open_; }
    PictureButton* helpButton() const { return help_; }
    PictureButton* aboutButton() const { return about_; }

signals:
    void openClicked();
    void helpClicked();
    void aboutClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap strip_;
    QPixmap logo_;
    PictureButton* open_;
    PictureButton* help_;
    PictureButton* about_;
};

}  // namespace velmor::ui
