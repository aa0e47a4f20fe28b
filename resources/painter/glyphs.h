#pragma once

#include <QPainter>

namespace velmor::pictures {

// Small pictures drawn in a 16 × 16 box at the painter's origin; scale the painter for
// larger ones.
void DrawFolder(QPainter& p, bool open);
void DrawCalendar(QPainter& p);
void DrawContactCard(QPainter& p);
void DrawTaskList(QPainter& p);
void DrawStickyNote(QPainter& p);
void DrawTrashCan(QPainter& p);
void DrawDraft(QPainter& p);
void DrawEnvelope(QPainter& p);
void DrawOutbox(QPainter& p);
void DrawJournal(QPainter& p);
void DrawInbox(QPainter& p);
void DrawSearchFolder(QPainter& p);
void DrawMailboxOwner(QPainter& p);
void DrawMarkedMail(QPainter& p);
void DrawInformationSign(QPainter& p);
void DrawCheckMark(QPainter& p);

}  // namespace velmor::pictures
