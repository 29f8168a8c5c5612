// The platform's classes as the board description reader knows them.

#include "platform/description.h"
#include "platform/description_props.h"
#include "platform/font.h"
#include "platform/form.h"
#include "platform/menus.h"
#include "platform/std_controls.h"

namespace kx {

namespace {

void FontFromJson(TFont& font, const TJson& v, TReadContext& ctx) {
    if (!v.is_object()) {
        ctx.Fail("expected a font object, found " + v.dump());
    }
    TFont f;
    f.Assign(font);
    for (auto it = v.begin(); it != v.end(); ++it) {
        const std::string& key = it.key();
        if (key == "Name") {
            f.SetName(prop::String(it.value(), ctx));
        } else if (key == "Height") {
            f.SetHeight(prop::Int(it.value(), ctx));
        } else if (key == "Size") {
            f.SetSize(prop::Int(it.value(), ctx));
        } else if (key == "Color") {
            f.SetColor(prop::Color(it.value(), ctx));
        } else if (key == "Charset") {
            const std::string cs = prop::String(it.value(), ctx);
            if (cs != "DEFAULT_CHARSET" && cs != "ANSI_CHARSET") {
                ctx.Fail("unknown character set \"" + cs + "\"");
            }
        } else if (key == "Style") {
            TFontStyles style = 0;
            for (const std::string& s : prop::Strings(it.value(), ctx)) {
                if (s == "fsBold")
                    style |= fsBold;
                else if (s == "fsItalic")
                    style |= fsItalic;
                else if (s == "fsUnderline")
                    style |= fsUnderline;
                else if (s == "fsStrikeOut")
                    style |= fsStrikeOut;
                else
                    ctx.Fail("unknown font style \"" + s + "\"");
            }
            f.SetStyle(style);
        } else {
            ctx.Fail("a font has no \"" + key + "\"");
        }
    }
    font.Assign(f);
}

const std::vector<std::pair<const char*, TAlign>> kAligns = {{"alNone", alNone},     {"alTop", alTop},
                                                             {"alBottom", alBottom}, {"alLeft", alLeft},
                                                             {"alRight", alRight},   {"alClient", alClient}};
const std::vector<std::pair<const char*, TAlignment>> kAlignments = {
    {"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}};
const std::vector<std::pair<const char*, TBevelCut>> kBevels = {
    {"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}};

void AttachControl(TComponent& parent, TComponent& child) {
    auto* p = dynamic_cast<TWinControl*>(&parent);
    auto* c = dynamic_cast<TControl*>(&child);
    if (c == nullptr && dynamic_cast<TForm*>(&parent) != nullptr && child.Owner() == &parent) {
        return;  // a non-visual component of the window: owned, not placed
    }
    if (p == nullptr || c == nullptr) {
        throw EDescriptionError(std::string("a ") + child.ClassName() + " cannot be placed on a " +
                                parent.ClassName());
    }
    c->SetParent(p);
}

}  // namespace

void RegisterControlProperties(TClassInfo& cls);

void RegisterControlProperties(TClassInfo& c) {
    using namespace props;
    c.Properties["Left"] = Int<TControl>([](TControl& t, int v) { t.SetLeft(v); });
    c.Properties["Top"] = Int<TControl>([](TControl& t, int v) { t.SetTop(v); });
    c.Properties["Width"] = Int<TControl>([](TControl& t, int v) { t.SetWidth(v); });
    c.Properties["Height"] = Int<TControl>([](TControl& t, int v) { t.SetHeight(v); });
    c.Properties["Tag"] = Int<TControl>([](TControl& t, int v) { t.SetTag(v); });
    c.Properties["Cursor"] = Int<TControl>([](TControl& t, int v) { t.SetCursor(v); });
    c.Properties["HelpContext"] = Int<TControl>([](TControl& t, int v) { t.SetHelpContext(v); });
    c.Properties["Hint"] = String<TControl>([](TControl& t, const std::string& v) { t.SetHint(v); });
    c.Properties["Visible"] = Bool<TControl>([](TControl& t, bool v) { t.SetVisible(v); });
    c.Properties["Enabled"] = Bool<TControl>([](TControl& t, bool v) { t.SetEnabled(v); });
    c.Properties["ShowHint"] = Bool<TControl>([](TControl& t, bool v) { t.SetShowHint(v); });
    c.Properties["ParentShowHint"] = Bool<TControl>([](TControl& t, bool v) { t.SetParentShowHint(v); });
    c.Properties["Align"] = Enum<TControl, TAlign>(kAligns, [](TControl& t, TAlign v) { t.SetAlign(v); });
    c.Properties["Anchors"] = [](TComponent& t, const TJson& v, TReadContext& ctx) {
        Target<TControl>(t, ctx).SetAnchors(prop::Anchors(v, ctx));
    };
    c.Properties["Constraints"] = [](TComponent& t, const TJson& v, TReadContext& ctx) {
        if (!v.is_object())
            ctx.Fail("expected an object with MinWidth, MinHeight, MaxWidth, MaxHeight");
        TSizeConstraints k;
        for (auto it = v.begin(); it != v.end(); ++it) {
            const int n = prop::Int(it.value(), ctx);
            if (it.key() == "MinWidth")
                k.MinWidth = n;
            else if (it.key() == "MinHeight")
                k.MinHeight = n;
            else if (it.key() == "MaxWidth")
                k.MaxWidth = n;
            else if (it.key() == "MaxHeight")
                k.MaxHeight = n;
            else
                ctx.Fail("constraints have no \"" + it.key() + "\"");
        }
        Target<TControl>(t, ctx).SetConstraints(k);
    };
    c.Properties["OnClick"] = Event<TControl>([](TControl& t, TNotifyEvent e) { t.OnClick = e; });
    c.Properties["OnDblClick"] = Event<TControl>([](TControl& t, TNotifyEvent e) { t.OnDblClick = e; });
    c.Properties["OnResize"] = Event<TControl>([](TControl& t, TNotifyEvent e) { t.OnResize = e; });
}

void RegisterPlatformClasses(TClassRegistry& r) {
    using namespace props;

    // Properties every control publishes.
    TClassInfo& control = r.Register("TControl", "");
    RegisterControlProperties(control);
    control.AddChild = AttachControl;

    TClassInfo& styled = r.Register("TStyledControl", "TControl");
    styled.Properties["Color"] = Color<TControl>([](TControl& t, TColor v) { t.SetColor(v); });
    styled.Properties["ParentColor"] = Bool<TControl>([](TControl& t, bool v) { t.SetParentColor(v); });
    styled.Properties["ParentFont"] = Bool<TControl>([](TControl& t, bool v) { t.SetParentFont(v); });
    styled.Properties["Font"] = [](TComponent& t, const TJson& v, TReadContext& ctx) {
        FontFromJson(Target<TControl>(t, ctx).Font(), v, ctx);
    };
    styled.Properties["Caption"] =
        String<TControl>([](TControl& t, const std::string& v) { t.SetCaption(v); });

    TClassInfo& windowed = r.Register("TWinControlProps", "TStyledControl");
    windowed.Properties["TabOrder"] = Int<TWinControl>([](TWinControl& t, int v) { t.SetTabOrder(v); });
    windowed.Properties["TabStop"] = Bool<TWinControl>([](TWinControl& t, bool v) { t.SetTabStop(v); });
    windowed.Properties["OnEnter"] =
        Event<TWinControl>([](TWinControl& t, TNotifyEvent e) { t.OnEnter = e; });
    windowed.Properties["OnExit"] = Event<TWinControl>([](TWinControl& t, TNotifyEvent e) { t.OnExit = e; });

    TClassInfo& panelProps = r.Register("TCustomPanelProps", "TWinControlProps");
    panelProps.Properties["BevelInner"] =
        Enum<TCustomPanel, TBevelCut>(kBevels, [](TCustomPanel& t, TBevelCut v) { t.SetBevelInner(v); });
    panelProps.Properties["BevelOuter"] =
        Enum<TCustomPanel, TBevelCut>(kBevels, [](TCustomPanel& t, TBevelCut v) { t.SetBevelOuter(v); });
    panelProps.Properties["BevelWidth"] =
        Int<TCustomPanel>([](TCustomPanel& t, int v) { t.SetBevelWidth(v); });
    panelProps.Properties["BorderWidth"] =
        Int<TCustomPanel>([](TCustomPanel& t, int v) { t.SetBorderWidth(v); });
    panelProps.Properties["BorderStyle"] =
        Enum<TCustomPanel, TBorderStyle>({{"bsNone", bsNone}, {"bsSingle", bsSingle}},
                                         [](TCustomPanel& t, TBorderStyle v) { t.SetBorderStyle(v); });
    panelProps.Properties["FullRepaint"] =
        Bool<TCustomPanel>([](TCustomPanel& t, bool v) { t.SetFullRepaint(v); });
    panelProps.Properties["Ctl3D"] = Ignored();
    panelProps.Properties["ParentCtl3D"] = Ignored();
    panelProps.Properties["BiDiMode"] = Ignored();
    panelProps.Properties["ParentBiDiMode"] = Ignored();

    TClassInfo& label = r.Register("TLabel", "TStyledControl", [](TComponent* o) { return new TLabel(o); });
    label.Properties["Alignment"] =
        Enum<TLabel, TAlignment>(kAlignments, [](TLabel& t, TAlignment v) { t.SetAlignment(v); });
    label.Properties["AutoSize"] = Bool<TLabel>([](TLabel& t, bool v) { t.SetAutoSize(v); });
    label.Properties["WordWrap"] = Bool<TLabel>([](TLabel& t, bool v) { t.SetWordWrap(v); });
    label.Properties["Transparent"] = Bool<TLabel>([](TLabel& t, bool v) { t.SetTransparent(v); });

    TClassInfo& image = r.Register("TImage", "TControl", [](TComponent* o) { return new TImage(o); });
    image.Properties["AutoSize"] = Bool<TImage>([](TImage& t, bool v) { t.SetAutoSize(v); });
    image.Properties["Stretch"] = Bool<TImage>([](TImage& t, bool v) { t.SetStretch(v); });
    image.Properties["Center"] = Bool<TImage>([](TImage& t, bool v) { t.SetCenter(v); });
    image.Properties["Transparent"] = Bool<TImage>([](TImage& t, bool v) { t.SetTransparent(v); });
    image.Properties["Picture"] = [](TComponent& t, const TJson& v, TReadContext& ctx) {
        prop::Picture(v, ctx, *Target<TImage>(t, ctx).Picture());
    };

    TClassInfo& button =
        r.Register("TButton", "TWinControlProps", [](TComponent* o) { return new TButton(o); });
    button.Properties["Default"] = Bool<TButton>([](TButton& t, bool v) { t.SetDefault(v); });
    button.Properties["Cancel"] = Bool<TButton>([](TButton& t, bool v) { t.SetCancel(v); });

    TClassInfo& memo = r.Register("TMemo", "TWinControlProps", [](TComponent* o) { return new TMemo(o); });
    memo.Properties["Lines"] = Strings<TMemo>([](TMemo& t, const TStrings& v) { t.SetLines(v); });
    memo.Properties["ReadOnly"] = Bool<TMemo>([](TMemo& t, bool v) { t.SetReadOnly(v); });
    memo.Properties["WordWrap"] = Bool<TMemo>([](TMemo& t, bool v) { t.SetWordWrap(v); });
    memo.Properties["ScrollBars"] = Enum<TMemo, TScrollStyle>(
        {{"ssNone", ssNone}, {"ssHorizontal", ssHorizontal}, {"ssVertical", ssVertical}, {"ssBoth", ssBoth}},
        [](TMemo& t, TScrollStyle v) { t.SetScrollBars(v); });

    TClassInfo& radio =
        r.Register("TRadioButton", "TWinControlProps", [](TComponent* o) { return new TRadioButton(o); });
    radio.Properties["Checked"] = Bool<TRadioButton>([](TRadioButton& t, bool v) { t.SetChecked(v); });
    radio.Properties["Alignment"] =
        Enum<TRadioButton, TAlignment>(kAlignments, [](TRadioButton& t, TAlignment v) { t.SetAlignment(v); });

    r.Register("TStatusBar", "TWinControlProps", [](TComponent* o) { return new TStatusBar(o); });

    TClassInfo& form = r.Register("TForm", "TWinControlProps");
    form.Properties["BorderStyle"] =
        Enum<TForm, TFormBorderStyle>({{"bsNone", TFormBorderStyle::bsNone},
                                       {"bsSingle", TFormBorderStyle::bsSingle},
                                       {"bsSizeable", TFormBorderStyle::bsSizeable},
                                       {"bsDialog", TFormBorderStyle::bsDialog},
                                       {"bsToolWindow", TFormBorderStyle::bsToolWindow},
                                       {"bsSizeToolWin", TFormBorderStyle::bsSizeToolWin}},
                                      [](TForm& t, TFormBorderStyle v) { t.SetBorderStyle(v); });
    form.Properties["FormStyle"] =
        Enum<TForm, TFormStyle>({{"fsNormal", fsNormal}, {"fsStayOnTop", fsStayOnTop}},
                                [](TForm& t, TFormStyle v) { t.SetFormStyle(v); });
    form.Properties["Position"] = Enum<TForm, TPosition>({{"poDesigned", poDesigned},
                                                          {"poDefault", poDefault},
                                                          {"poDefaultPosOnly", poDefaultPosOnly},
                                                          {"poDefaultSizeOnly", poDefaultSizeOnly},
                                                          {"poScreenCenter", poScreenCenter},
                                                          {"poDesktopCenter", poDesktopCenter},
                                                          {"poMainFormCenter", poMainFormCenter},
                                                          {"poOwnerFormCenter", poOwnerFormCenter}},
                                                         [](TForm& t, TPosition v) { t.SetPosition(v); });
    form.Properties["WindowState"] = Enum<TForm, TWindowState>(
        {{"wsNormal", wsNormal}, {"wsMinimized", wsMinimized}, {"wsMaximized", wsMaximized}},
        [](TForm& t, TWindowState v) { t.SetWindowState(v); });
    form.Properties["PixelsPerInch"] = Int<TForm>([](TForm& t, int v) { t.SetPixelsPerInch(v); });
    form.Properties["TextHeight"] = Int<TForm>([](TForm& t, int v) { t.SetTextHeight(v); });
    form.Properties["AutoScroll"] = Bool<TForm>([](TForm& t, bool v) { t.SetAutoScroll(v); });
    form.Properties["ClientWidth"] = Int<TForm>([](TForm& t, int v) { t.SetClientWidth(v); });
    form.Properties["ClientHeight"] = Int<TForm>([](TForm& t, int v) { t.SetClientHeight(v); });
    form.Properties["Menu"] = Reference<TForm, TMainMenu>([](TForm& t, TMainMenu* m) { t.SetMenu(m); });
    form.Properties["OnCreate"] = Event<TForm>([](TForm& t, TNotifyEvent e) { t.OnCreate = e; });
    form.Properties["OnActivate"] = Event<TForm>([](TForm& t, TNotifyEvent e) { t.OnActivate = e; });
    form.Properties["OnDeactivate"] = Event<TForm>([](TForm& t, TNotifyEvent e) { t.OnDeactivate = e; });
    form.Properties["OnShow"] = Event<TForm>([](TForm& t, TNotifyEvent e) { t.OnShow = e; });
    form.Properties["OnHide"] = Event<TForm>([](TForm& t, TNotifyEvent e) { t.OnHide = e; });

    TClassInfo& mainMenu = r.Register("TMainMenu", "", [](TComponent* o) { return new TMainMenu(o); });
    mainMenu.AddChild = [](TComponent& parent, TComponent& child) {
        auto* item = dynamic_cast<TMenuItem*>(&child);
        if (item == nullptr) {
            throw EDescriptionError(std::string("a menu holds menu items, not a ") + child.ClassName());
        }
        static_cast<TMainMenu&>(parent).Items()->Add(item);
    };
    TClassInfo& menuItem = r.Register("TMenuItem", "", [](TComponent* o) { return new TMenuItem(o); });
    menuItem.AddChild = [](TComponent& parent, TComponent& child) {
        auto* item = dynamic_cast<TMenuItem*>(&child);
        if (item == nullptr) {
            throw EDescriptionError(std::string("a menu holds menu items, not a ") + child.ClassName());
        }
        static_cast<TMenuItem&>(parent).Add(item);
    };
    menuItem.Properties["Caption"] =
        String<TMenuItem>([](TMenuItem& t, const std::string& v) { t.SetCaption(v); });
    menuItem.Properties["Checked"] = Bool<TMenuItem>([](TMenuItem& t, bool v) { t.SetChecked(v); });
    menuItem.Properties["Enabled"] = Bool<TMenuItem>([](TMenuItem& t, bool v) { t.SetEnabled(v); });
    menuItem.Properties["Visible"] = Bool<TMenuItem>([](TMenuItem& t, bool v) { t.SetVisible(v); });
    menuItem.Properties["OnClick"] = Event<TMenuItem>([](TMenuItem& t, TNotifyEvent e) { t.OnClick = e; });
}

}  // namespace kx
