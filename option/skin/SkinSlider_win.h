#pragma once
// Horizontal picture slider: a track that looks transparent over the page and
// a draggable picture thumb.

#include <windows.h>

#include <string>

#include "SkinControl_win.h"
#include "SliderMath.h"

class SliderThumb;

class SkinSlider : public SkinControl {
 public:
  // Null when the thumb picture cannot be loaded: the page goes on without it.
  static SkinSlider* Create(const std::string& thumbPicture, const RECT& rect, HWND page, int id);

  void setBackground(const RECT& rect, HBITMAP pageBackground);
  void setRange(int minimum, int maximum);
  void setSnap(bool snap);
  void setValue(int value);
  int value() const;
  void enableDrag(bool on);
  void setHelpText(const std::string& text);
  SliderThumb* thumb() const { return thumb_; }

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void clickAt(int x);
  bool keyPressed(WPARAM key);
  int id_ = 0;
  RECT rect_{};  // in the page's coordinates
  SliderThumb* thumb_ = nullptr;
  UniqueBitmap background_;
  std::string help_;
  bool leavePending_ = false;
};

class SliderThumb : public SkinControl {
 public:
  static SliderThumb* Create(const std::string& picture, int centreX, int centreY, int rightLimit, HWND track,
                             int id);
  SliderGeometry geometry;
  void setValue(int value);
  int value() const { return value_; }
  bool dragEnabled = true;

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void moveTo(int left);
  int left() const;
  UniqueBitmap picture_;
  SIZE size_{};
  int value_ = 0;
  int id_ = 0;
  bool dragging_ = false;
  int grab_ = 0;
};
