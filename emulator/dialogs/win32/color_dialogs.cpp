#include "dialogs/win32/color_dialogs.h"

#include <utility>

#include "engine/colors.h"
#include "fw_list_fill_win32.h"
#include "resource_ids.h"

CColorsDlg::CColorsDlg(HWND owner, const SettingsRecord& rec, const ColorSettingsValues& initial,
                       std::function<std::string(int attributes)> label)
    : ColorSampleDialog(initial.mode3270 ? IDD_COLORS_3270 : IDD_COLORS, owner, rec), values(initial),
      label_(std::move(label))
{
    OnCommand(IDC_COLOR_ATTRIBUTES, [this] { SelectRow(); }, LBN_SELCHANGE);
    for (int id = kFirstColorButton; id < kFirstColorButton + kColorButtonCount; ++id)
        OnCommand(id, [this, id] { PickColor(id); });
    OnCommand(IDC_COLOR_LOCAL, [this] {
        values.hostColor = 0;
        FillList();
    });
    OnCommand(IDC_COLOR_HOST, [this] {
        values.hostColor = 1;
        FillList();
    });
    // The font effects show in the sample at once.
    OnCommand(IDC_COLOR_TRUE_BOLD, [this] {
        values.trueBold = IsDlgButtonChecked(Handle(), IDC_COLOR_TRUE_BOLD) == BST_CHECKED;
        InvalidateSample();
    });
    OnCommand(IDC_COLOR_TRUE_UNDERLINE, [this] {
        values.trueUnderline = IsDlgButtonChecked(Handle(), IDC_COLOR_TRUE_UNDERLINE) == BST_CHECKED;
        InvalidateSample();
    });
    OnCommand(IDC_COLOR_USE_PALETTE, [this] {
        values.usePalette = IsDlgButtonChecked(Handle(), IDC_COLOR_USE_PALETTE) == BST_CHECKED;
        InvalidateSample();
    });
    OnCommand(IDC_COLOR_LINE_GRAPHICS, [this] { RefillForCheck(IDC_COLOR_LINE_GRAPHICS, values.lineGraphicsColor); });
    OnCommand(IDC_COLOR_SPECIAL_GRAPHICS, [this] { RefillForCheck(IDC_COLOR_SPECIAL_GRAPHICS, values.specialGraphicsColor); });
    OnCommand(IDC_COLOR_HISTORY_LINES, [this] { RefillForCheck(IDC_COLOR_HISTORY_LINES, values.historyLinesColor); });
}

void CColorsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Radio(dx, IDC_COLOR_LOCAL, values.hostColor);
    DDX_Check(dx, IDC_COLOR_TRUE_BOLD, values.trueBold);
    DDX_Check(dx, IDC_COLOR_TRUE_UNDERLINE, values.trueUnderline);
    if (!values.mode3270) {
        DDX_Check(dx, IDC_COLOR_LINE_GRAPHICS, values.lineGraphicsColor);
        DDX_Check(dx, IDC_COLOR_SPECIAL_GRAPHICS, values.specialGraphicsColor);
    }
    DDX_Check(dx, IDC_COLOR_HISTORY_LINES, values.historyLinesColor);
    DDX_Check(dx, IDC_COLOR_USE_PALETTE, values.usePalette);
    DDX_Text(dx, IDC_COLOR_BRIGHTNESS, values.brightness);
    DDV_MinMaxInt(dx, values.brightness, -kBrightnessLimit, kBrightnessLimit);
}

bool CColorsDlg::OnInitDialog()
{
    // A host-colour choice other than 0 or 1 from a file shows as local colours' list and radio.
    if (values.hostColor != 0 && values.hostColor != 1) values.hostColor = 0;
    buttons_.Attach(Handle());
    FillList();
    FwDialog::OnInitDialog();
    CenterWindow();
    return true;
}

void CColorsDlg::FillList()
{
    HWND list = GetDlgItem(IDC_COLOR_ATTRIBUTES);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    // The longest 3270 labels are wider than the list: it scrolls sideways to show them whole.
    HDC dc = GetDC(list);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (const AttributeListEntry& entry : AttributeList(values, label_)) {
        FwAddListEntry(list, entry.label, entry.row);
        SIZE size{};
        GetTextExtentPoint32A(dc, entry.label.c_str(), static_cast<int>(entry.label.size()), &size);
        if (size.cx > widest) widest = size.cx;
    }
    SelectObject(dc, oldFont);
    ReleaseDC(list, dc);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 4), 0);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    if (!values.mode3270) {
        EnableItem(IDC_COLOR_LINE_GRAPHICS, !values.hostColor);
        EnableItem(IDC_COLOR_SPECIAL_GRAPHICS, !values.hostColor);
    }
    SelectRow();
}

void CColorsDlg::SelectRow()
{
    HWND list = GetDlgItem(IDC_COLOR_ATTRIBUTES);
    const int selected = FwListCurSel(list);
    if (selected < 0) return;
    selectedText = FwListItemText(list, selected);
    SelectColorRow(values, static_cast<int>(FwListItemData(list, selected)));
    buttons_.Press(values.currentFg, kForegroundSide, false);
    buttons_.Press(values.currentBg, kBackgroundSide, false);
    InvalidateSample();
}

void CColorsDlg::PickColor(int id)
{
    int index = 0, side = 0;
    if (!ColorButtonChoice(id, index, side) || !PickRowColor(values, side, index)) return;
    buttons_.Press(index, side, false);
    InvalidateSample();
}

void CColorsDlg::RefillForCheck(int id, int& member)
{
    member = IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
    FillList();
}

void CColorsDlg::PaintFrame(HDC dc)
{
    // A small screen: the window frame in the Frame row's background, a thin frame in its
    // foreground, and the screen in the Normal row's background.
    const ColorSample sample = ColorSampleOf(values, selectedText);
    const RECT group = ControlRect(Handle(), IDC_SAMPLE_FRAME);
    RECT area{group.left + 3, group.top + 8, group.right - 3, group.bottom - 3};
    if (area.right <= area.left || area.bottom <= area.top) return;
    FillPaletteRect(dc, rec_, area, sample.frameBg);
    InflateRect(&area, -25, -10);
    FillPaletteRect(dc, rec_, area, sample.frameFg);
    InflateRect(&area, -5, -5);
    FillPaletteRect(dc, rec_, area, sample.fillBg);
}

void CColorsDlg::PaintText(const DRAWITEMSTRUCT& item)
{
    const ColorSample sample = ColorSampleOf(values, selectedText);
    RECT area = item.rcItem;
    FillPaletteRect(item.hDC, rec_, area, sample.fillBg);
    HFONT font = CreateSampleFont(rec_, sample.bold, sample.underline);
    HGDIOBJ oldFont = SelectObject(item.hDC, font);
    SetTextColor(item.hDC, PaletteColor(rec_, sample.fg) & 0x00FFFFFF);
    SetBkColor(item.hDC, PaletteColor(rec_, sample.bg) & 0x00FFFFFF);
    SetBkMode(item.hDC, OPAQUE);
    DrawTextA(item.hDC, sample.text.c_str(), static_cast<int>(sample.text.size()), &area,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item.hDC, oldFont);
    DeleteObject(font);
}
