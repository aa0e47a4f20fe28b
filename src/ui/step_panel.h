#pragma once

#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace velmor::ui {

// The panel's width on both wizard pages that show it.
inline constexpr int kStepPanelWidth = 200;

// The panel down the left edge of the wizard pages: the three steps with their titles and
// descriptions, the current one marked.
class StepPanel : public QWidget {
    Q_OBJECT

public:
    explicit StepPanel(int currentIndex, QWidget* parent = nullptr);

    void AddStep(const QString& title, const QString& description);

    // Where step i's texts and marker are painted, for a panel of the given width.
    static QRect TitleRect(int index, int width);
    static QRect DescriptionRect(int index, int width);
    static QPoint MarkerPosition(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList titles_;
    QStringList descriptions_;
    int current_;
    QPixmap currentMarker_;
    QPixmap doneMarker_;
};

}  // namespace velmor::ui
