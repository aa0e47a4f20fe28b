#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <vector>

namespace velmor::ui {

// A picture of resources/images by its file name without ".png".
QPixmap Picture(const QString& name);

// The folder tree's fourteen images and the item list's seven, by index.
std::vector<QIcon> TreeImages();
std::vector<QIcon> ListImages();

}  // namespace velmor::ui
