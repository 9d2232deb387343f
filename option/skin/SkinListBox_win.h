#pragma once
// The skinned list: an owner-drawn list box with its own colours, a picture in
// front of each line, hover tracking, the wheel, and an in-place editor that
// names new lines and renames existing ones. It tells its page by posted
// MSG_LIST_ITEM_ADDED, MSG_LIST_ITEM_EDITED and MSG_LIST_RCLICK.

#include <map>
#include <string>

#include "ListEditRules.h"
#include "SkinControl_win.h"
#include "SkinPosition.h"

class ListLineEditor;

class SkinListBox : public SkinControl {
 public:
  static SkinListBox* Create(HWND parent, int id, const SkinPosition& position);
  // A list that stays with its page: its identifier, its colours (the text
  // the same selected or not) and, when given, its line height.
  static SkinListBox* CreateOnPage(HWND parent, int id, const SkinPosition& position, int identifier,
                                   COLORREF background, COLORREF selection, COLORREF text,
                                   int lineHeight = 0);

  void setColors(COLORREF background, COLORREF selection);
  void setTextColors(COLORREF text, COLORREF selectedText);
  void setIdentifier(int identifier) { identifier_ = identifier; }
  void setNewLineText(const std::string& text) { newLineText_ = text; }
  void setRename(bool on) { rename_ = on; }
  // Names keep this many characters: the editor tells the page
  // (MSG_LIST_NAME_CUT) as soon as what is typed goes beyond. 0: no note.
  void setKeptLength(int characters) { keptLength_ = characters; }
  // With false (the default), losing the focus hides and destroys the parent
  // window, for lists that drop down; the pages keep theirs.
  void setKeepParent(bool on) { keepParent_ = on; }
  void setLineHeight(int height);
  void setPictureSlot(int width, int height);

  int addLine(const std::string& text, unsigned itemData);
  int insertLine(int index, const std::string& text, unsigned itemData);
  int count() const;
  int selected() const;
  // Selects `index` (-1: none) and tells the page with LBN_SELCHANGE, as a
  // click does, so that whatever the page binds to its selection follows.
  void selectLine(int index);
  std::string lineText(int index) const;
  unsigned lineData(int index) const;

  // Appends a line with the new-line text and names it in the editor (mode 0,
  // at most 15 characters). False while an edit is open.
  bool startNewLine();
  // Opens the editor over the selected line (mode 1 with the rename flag, else
  // mode 0; at most 20 characters). False without a selection or while editing.
  bool editSelected();
  bool editing() const { return editor_ != nullptr; }
  HWND editorWindow() const;
  int editIndex() const { return editIndex_; }
  int hoveredLine() const { return hover_; }

  // Called by the editor; each closes it.
  void commitEdit();
  void cancelEdit();

  // What committing an open edit did to the list.
  struct EditCommit {
    int index = -1;        // the edited line
    bool added = false;    // MSG_LIST_ITEM_ADDED would have been posted
    bool edited = false;   // MSG_LIST_ITEM_EDITED would have been posted
    bool removed = false;  // a line made for the edit went again (left empty)
  };
  // Commits an open edit as Enter does, but hands the result back instead of
  // posting it: a page that is about to act on its current line takes the
  // typed name first, before anything else happens.
  EditCommit finishEdit();

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void draw(const DRAWITEMSTRUCT& item);
  HBITMAP picture(unsigned id);
  bool openEditor(int index, ListEditOrigin origin);
  HWND closeEditor();
  void trackHover(LPARAM lParam);
  void repaintLine(int index);
  int lineAt(LPARAM clientPoint) const;

  UniqueFont font_;
  UniqueBrush backgroundBrush_;
  COLORREF background_ = 0, selection_ = 0, text_ = 0, selectedText_ = 0;  // set by Create
  int lineHeight_ = 20;
  int slotWidth_ = 26, slotHeight_ = 16;
  int identifier_ = 0;
  std::string newLineText_;
  bool rename_ = false;
  bool keepParent_ = false;
  int hover_ = -1;
  bool leavePending_ = false;
  int wheelPending_ = 0;
  ListLineEditor* editor_ = nullptr;
  int editIndex_ = -1;
  int keptLength_ = 0;
  int selectionBeforeEdit_ = -1;  // what a new line going again gives back
  ListEditPlan plan_;
  std::map<unsigned, UniqueBitmap> pictures_;  // loaded once per id, freed with the list
};
