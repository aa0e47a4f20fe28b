#pragma once

#include <QImage>
#include <QPainter>

namespace velmor::pictures {

// The product emblem, a database drum with a letter and a recovery arrow, in a 64 × 64 box.
void DrawEmblem(QPainter& p);

// The 64 × 64 pictures of the banner's buttons, drawn for a dark background.
void DrawOpenButton(QPainter& p);
void DrawHelpButton(QPainter& p);
void DrawAboutButton(QPainter& p);

// The states of a picture button made from its normal picture.
QImage FocusedState(const QImage& normal);
QImage DisabledState(const QImage& normal);

QImage BannerStrip();
QImage BannerLogo();
QImage AboutBanner();
QImage ButtonBarBackground();
QImage FilePageHelpIcon();
// The application's icon, drawn on a square of kApplicationIconSize at any size.
inline constexpr int kApplicationIconSize = 128;
void DrawApplicationIcon(QPainter& p);
QImage ApplicationIcon(int size);

}  // namespace velmor::pictures
