// CControlButton: the skinned push button of the main dialog. It is drawn entirely from bitmaps:
// the normal image, the hover image while the mouse rests on it, the pressed image while it is
// latched (the on state of a toggle function, set by the parent) or held down, and the disabled
// image while disabled. Its window is cut to the shape of a bitmap (pure white is outside), and
// in transparent mode the parent's background shows around the shape. GUI thread only.
//
// Hover follows the mouse: the first move over the button starts tracking; once the mouse has
// rested for the hover time (1 ms, the child QTimer "hoverTimer") the button is hovering; leaving
// it clears both.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QTimer>

#include "platform/base/win_types.h"

class CControlButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit CControlButton(QWidget* parent = nullptr);
    ~CControlButton() override;

    // Cuts the window to the shape of the bitmap resource `bitmapId` (white key).
    void SetShape(UINT bitmapId);
    void SetShape(const QImage& shape);
    // Replaces the four state images with the bitmap resources (the spare image is never drawn).
    void LoadStateBitmaps(UINT hoverId, UINT normalId, UINT pressedId, UINT spareId);
    void LoadStateBitmaps(const QImage& hover, const QImage& normal, const QImage& pressed,
                          const QImage& spare);

    // Draws the button as it looks now into `target` (the button's size, 32 bits per pixel),
    // over what `target` holds.
    void DrawItem(QImage& target) const;

    // The mouse rested on the button / left it (what the tracking delivers).
    void OnMouseHover();
    void OnMouseLeave();

    // State, as the parent reads and sets it directly (GUI thread only).
    BOOL m_bHover = 0;     // the mouse rests on the button
    BOOL m_bTracking = 0;  // hover and leave tracking is active
    BOOL m_bLatched = 0;   // drawn pressed; set and cleared by the parent, which then repaints
    QImage m_bmpNormal;
    QImage m_bmpPressed;
    QImage m_bmpSpare;
    QImage m_bmpHover;
    QImage m_bmpDisabled;
    QImage m_bmpMask;                       // black over the shape, white outside
    QImage m_bmpBack;                       // background used when m_pBackground is null
    const QImage* m_pBackground = nullptr;  // the parent's background picture; not owned, set
                                            // with m_rcInParent and outlives the button
    BYTE m_bTransparent = 0;                // 1: draw through the mask
    BYTE m_bShaped = 0;                     // 1 once a shape is assigned
    BYTE m_bHasBackground = 0;              // 1: paint the parent's background first
    RECT m_rcInParent{0, 0, 0, 0};          // the button's rectangle in the parent's client area

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // Draws one image the way the current mode says (transparent through the mask, or copied).
    void DrawImage(QImage& target, const QImage& image) const;

    QTimer* hoverTimer_;  // child
};
