#pragma once

#include <QDialog>
#include <QString>
#include <initializer_list>
#include <vector>

// The base of every window of the program: the toolkit's dialog operations,
// addressed by control id. Each control of a form carries the dynamic
// property "controlId" (int) with its id, so that the code speaks of
// controls by the numbers the rest of the program knows them by.
class DialogBase : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* ControlIdProperty = "controlId";

    // Anchor flags of registerAnchor().
    static constexpr int FollowRight = 1;
    static constexpr int StretchRight = 2; // with FollowRight: keep the left edge
    static constexpr int FollowBottom = 4;
    static constexpr int StretchBottom = 8; // with FollowBottom: keep the top edge
    // No anchored control gets narrower or lower than this.
    static constexpr int MinimumAnchoredSize = 4;

    explicit DialogBase(QWidget* parent = nullptr);
    ~DialogBase() override;

    // The child carrying the id, or null.
    QWidget* control(int id) const;
    // The whole text of a line edit, a combo box's edit text, a text edit's
    // plain text, a label, a button or a group box title; empty for anything
    // else and for an id no control carries.
    QString textOfControl(int id) const;
    // Disables each control; negative ids are skipped.
    void disable(std::initializer_list<int> ids);
    // The position (0-9) of the first checked button among the first ten
    // ids, -1 when none is checked.
    int checkedRadio(std::initializer_list<int> ids) const;

    // Records the control's distances to the client edges as they are now
    // (the control is placed by the form, not by a layout);
    // registering an id again replaces its record. applyAnchors() then keeps
    // those distances as the dialog is resized (resizeEvent calls it).
    void registerAnchor(int id, int flags);
    void applyAnchors();

    // Places the window relative to its parent window (the screen's
    // available area when it has none): -1 centres in that direction. The
    // horizontal position is then moved right by 4 and rounded down to a
    // multiple of 8. With clamp the window is pushed into its screen's
    // available area. The size does not change.
    void centre(int x = -1, int y = -1, bool clamp = false);
    // x and y relative to the parent's (the screen's) top-left corner; a
    // width or height of 0 or less keeps the current one.
    void place(int x, int y, int width, int height, bool clamp = false);

    // Whether the window, each time it is shown, is moved (and if need be
    // shrunk, down to its minimum size) so that it lies wholly inside the
    // available area of its parent's screen (its own screen when it has no
    // parent). On by default; the main window, which reopens where the user
    // left it, turns it off.
    void setKeepInsideScreen(bool on) { m_keepInsideScreen = on; }
    bool keepsInsideScreen() const { return m_keepInsideScreen; }
    // Does it now.
    void keepInsideScreen();

    // Gives every control under root whose accessible name is empty the
    // label the user sees for it, "&" mnemonics removed: a button's text, a
    // group box's title, the text of the label whose buddy it is, or else the
    // title of the group box it sits in. Every dialog calls it once its
    // controls are made.
    static void nameControlsByLabels(QWidget* root);
    // "&&" becomes "&", any other "&" goes.
    static QString withoutMnemonics(const QString& label);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Anchor {
        int id;
        int flags;
        int left;
        int top;
        // Control edge minus client edge: 0 or negative for a control inside.
        int right;
        int bottom;
        int width;
        int height;
    };

    // The area the window is placed in: its parent window's frame or the
    // available area of the screen it is on.
    QRect placementArea() const;
    void moveClamped(QRect frame, bool clamp);
    // The frame the window manager puts around the window, or the best guess
    // before the window has one: its parent's.
    QMargins frameMarginsEstimate() const;

    std::vector<Anchor> m_anchors;
    bool m_keepInsideScreen = true;
};
