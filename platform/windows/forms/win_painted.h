// The controls the program paints itself, on a window class of its own: labels, pictures, lines
// and frames (and the percentage bar, win_bar.h). Each paints into an off-screen bitmap first, so that
// a refresh never flickers. A click on a label or a picture is its Click; a line lets the mouse
// through to what lies under it.
#pragma once

#include "platform/windows/forms/win_control_peer.h"

namespace sysvane::win {

class PaintedPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  virtual void Paint(HDC dc, const RECT& area) = 0;
  virtual bool PassesMouseThrough() const { return false; }

 protected:
  // Makes the window and applies every property.
  void CreatePainted();
  void Apply(forms::Prop prop) override;
  // The background behind the control: its own colour, or its container's when it has none.
  forms::Color Background(bool transparent) const;
};

// DrawText's layout of a label's caption in a box `boxHeight` pixels high, for a font whose lines
// are `lineHeight` pixels: a box of one line holds one line, cut short with an ellipsis; a taller
// one breaks between words where the label wraps, and only at the caption's own line breaks
// where it does not.
UINT LabelTextFormat(forms::Alignment alignment, bool wordWrap, int boxHeight, int lineHeight);

class LabelPeer : public PaintedPeer {
 public:
  explicit LabelPeer(forms::Label& label);
  void Paint(HDC dc, const RECT& area) override;

 private:
  forms::Label& label_;
};

class ImagePeer : public PaintedPeer {
 public:
  explicit ImagePeer(forms::Image& image);
  void Paint(HDC dc, const RECT& area) override;
};

class LinePeer : public PaintedPeer {
 public:
  explicit LinePeer(forms::Line& line);
  void Paint(HDC dc, const RECT& area) override;
  bool PassesMouseThrough() const override { return true; }
  // The box from (left, top) to (left + width, top + height), whichever way the line runs, one
  // pixel thick at least.
  PixelBox Box() const override;
};

// The group box around a group of controls that lie beside it: an etched frame with its caption
// in the top edge; the mouse passes through it.
class FramePeer : public PaintedPeer {
 public:
  explicit FramePeer(forms::Frame& frame);
  void Paint(HDC dc, const RECT& area) override;
  bool PassesMouseThrough() const override { return true; }

 protected:
  void Apply(forms::Prop prop) override;

 private:
  int CaptionHeight() const;
  forms::Frame& frame_;
};

}  // namespace sysvane::win
