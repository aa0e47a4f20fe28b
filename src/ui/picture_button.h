#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace velmor::ui {

// A button drawn with pictures only: normal, pressed (the normal one), focused and disabled.
// Its size is the size of its pictures.
class PictureButton : public QAbstractButton {
    Q_OBJECT

public:
    // Loads name-normal, name-focused and name-disabled.
    PictureButton(const QString& name, const QString& toolTip, QWidget* parent = nullptr);

    QSize sizeHint() const override { return normal_.size(); }
    // The picture for the button's present state.
    const QPixmap& CurrentPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap normal_;
    QPixmap focused_;
    QPixmap disabled_;
};

}  // namespace velmor::ui
