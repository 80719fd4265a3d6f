#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick {

enum class ControlKind {
    Edit,
    ComboBox,
    CheckBox,
    RadioButton,
    Toggle,
    Label,
    Button,
    CheckList,
    Grid,
    Memo
};

// Which characters an edit accepts as typed.
enum class KeyFilter { None, Digits, Address, Hex, UpperCase };

// The colour of one memo line from byte `from` of its text to its end; 0 is
// the memo's normal text colour.
struct LineColor {
    size_t from = 0;
    uint32_t rgb = 0;
};

// One named control of a page: the state the page logic reads and writes.
// A field is used only by the kinds it makes sense for.
struct Control {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string text;  // edit and label text, button and check box caption
    // What the operator reads beside an input, and its accessible name; in a
    // grid the row and the column caption joined with a blank.
    std::string caption;
    std::string hint;  // "short|long": tooltip before the bar, status bar after it
    bool enabled = true;
    bool visible = true;
    bool checked = false;                // check box, radio button, toggle
    int index = -1;                      // drop-down list selection, -1 none
    std::vector<std::string> items;      // drop-down list and check list entries
    std::vector<bool> itemChecked;       // check list
    size_t maxLength = 0;                // edit, 0 unlimited
    KeyFilter filter = KeyFilter::None;  // edit
    bool password = false;               // edit shows "*"
    // It holds a code or a password: never shown in a comparison, never
    // written anywhere in clear.
    bool secret = false;
    bool readOnly = false;  // edit
    // A refresh neither clears nor fills it (the upgrade address, the GPRS
    // user name): nothing typed there is lost by a refresh.
    bool survivesRefresh = false;
    std::optional<uint32_t> color;                // label text colour as RGB; none default
    int tag = 0;                                  // a button's state, read by its handler
    int image = -1;                               // picture index in its image list, -1 none
    std::vector<std::string> lines;               // memo
    std::vector<LineColor> lineColors;            // memo, one per line when coloured
    std::vector<std::vector<std::string>> cells;  // grid, row 0 the header

    // The selected entry's text, or empty text when none is selected.
    std::string SelectedText() const;
    // The hint's part for the tooltip and for the status bar; a hint without
    // "|" is both.
    std::string ShortHint() const;
    std::string LongHint() const;
};

// A repeated control's name: the base name plus the 1-based index, as in
// cbDefenceZoneType3.
std::string Numbered(std::string_view base, int index);

// Whether an edit with `filter` takes the typed character `c`.
bool AcceptsKey(KeyFilter filter, char32_t c);

// Whether the operator types into, chooses from, ticks or reads a table of
// the control: every input carries a caption, its accessible name.
bool IsInput(const Control& c);
// A caption as it is read out: without the colon that ends it on the page,
// and letter-spaced captions closed up ("短 信 开 关：" is "短信开关");
// blanks between words stay ("防区3 防区类型").
std::string SpokenCaption(const std::string& caption);

// A page's (or a window's) named controls and the handlers of their events.
// Controls are found by name; asking for a name the page does not hold is a
// programming error and throws std::logic_error.
class PageModel {
  public:
    Control& Add(const std::string& name, ControlKind kind);
    Control& Edit(const std::string& name, size_t maxLength = 0,
                  KeyFilter filter = KeyFilter::None);
    Control& Combo(const std::string& name, std::vector<std::string> items);
    Control& Check(const std::string& name, const std::string& caption = {});
    Control& Button(const std::string& name, const std::string& caption,
                    const std::string& hint = {});
    Control& Label(const std::string& name, const std::string& text = {});

    Control& operator[](const std::string& name);
    const Control& operator[](const std::string& name) const;
    // The control Numbered(base, index).
    Control& At(std::string_view base, int index) { return (*this)[Numbered(base, index)]; }
    bool Holds(const std::string& name) const { return index_.count(name) != 0; }
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    // Everything the controls show, to be put back later with Restore.
    std::vector<Control> Copy() const;
    void Restore(const std::vector<Control>& shown);
    // What keeps a screen reader from telling the inputs apart: an input
    // without a caption, or two inputs read out alike. One line each; empty
    // when every input is named and no name is repeated.
    std::vector<std::string> CaptionProblems() const;

    // Event handlers, by control name: a click, a change of value (selection,
    // check state, text) made by the operator, the focus leaving an edit.
    void OnClick(const std::string& name, std::function<void()> handler);
    void OnChange(const std::string& name, std::function<void()> handler);
    void OnExit(const std::string& name, std::function<void()> handler);
    void Click(const std::string& name);
    void Change(const std::string& name);
    void Exit(const std::string& name);
    // While `busy` says true, a click is ignored: no button starts a flow
    // while another one runs.
    void SetBusyCheck(std::function<bool()> busy) { busy_ = std::move(busy); }

    // A check puts the focus back into `name`; the window moves it there the
    // next time it shows the model.
    void RequestFocus(const std::string& name) { focusRequest_ = name; }
    std::string TakeFocusRequest() { return std::exchange(focusRequest_, {}); }

    // Runs after every click and change the operator makes, once its handler
    // has run (the window shows whether the page now holds unsaved changes).
    void SetOperatorActionListener(std::function<void()> listener) {
        actionListener_ = std::move(listener);
    }

    // The model changed; the window shows the new state.
    void Changed() const {
        if (observer_) observer_();
    }
    void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }

  private:
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*> index_;
    std::map<std::string, std::function<void()>> clicks_, changes_, exits_;
    std::function<void()> observer_;
    std::function<void()> actionListener_;
    std::function<bool()> busy_;
    std::string focusRequest_;
};

}  // namespace tarnwick
