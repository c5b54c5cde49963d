#include "dialogs/win32/boxes_dlg.h"

#include <ctime>

#include "engine/colors.h"
#include "resource_ids.h"

namespace {

constexpr int kKindRadios[4] = {IDC_BOX_NONE, IDC_BOX_IN, IDC_BOX_OUT, IDC_BOX_EDIT};

// The date and time in the locale's long form; empty when it does not fit (it always does: the
// buffer holds far more than any locale's form).
std::string SampleDate()
{
    char text[256];
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local || std::strftime(text, sizeof text, " %a, %c ", local) == 0) return " ";
    return text;
}

}  // namespace

CBoxesDlg::CBoxesDlg(HWND owner, const SettingsRecord& rec, const BoxSettingsValues& initial)
    : ColorSampleDialog(IDD_BOXES, owner, rec), values(initial)
{
    for (int id = kFirstColorButton; id < kFirstColorButton + kColorButtonCount; ++id)
        OnCommand(id, [this, id] {
            int index = 0, side = 0;
            if (ColorButtonChoice(id, index, side)) SelectColor(index, side);
        });
    for (int kind = 0; kind < 4; ++kind) OnCommand(kKindRadios[kind], [this, kind] { ChooseKind(kind); });
    OnCommand(IDC_BOX_ENABLE, [this] {
        values.enableBoxes = IsDlgButtonChecked(Handle(), IDC_BOX_ENABLE) == BST_CHECKED;
        InvalidateSample();
    });
    OnCommand(IDC_BOX_RESET, [this] {
        ResetBoxDefaults(values, rec_);
        UpdateData(false);
        SelectColor(values.selectedIndex, values.selectedSide);
        InvalidateRect(Handle(), nullptr, TRUE);
    });
}

void CBoxesDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_BOX_ENABLE, values.enableBoxes);
    DDX_Check(dx, IDC_BOX_LINES, values.enableLines);
    DDX_Check(dx, IDC_BOX_3270, values.enable3270Boxes);
}

bool CBoxesDlg::OnInitDialog()
{
    buttons_.Attach(Handle());
    SelectColor(2, kForegroundSide);
    FwDialog::OnInitDialog();
    CenterWindow();
    return true;
}

void CBoxesDlg::SelectColor(int index, int side)
{
    if (!SelectBoxColor(values, index, side)) return;
    buttons_.Press(index, side, true);
    const int kind = SelectedBoxKind(values);
    for (int k = 0; k < 4; ++k) CheckDlgButton(Handle(), kKindRadios[k], k == kind ? BST_CHECKED : BST_UNCHECKED);
    InvalidateSample();
}

void CBoxesDlg::ChooseKind(int kind)
{
    if (!ChooseBoxKind(values, kind)) return;
    if (FwBitmapButton* button = buttons_.Button(values.selectedIndex, values.selectedSide)) {
        RECT around = button->DialogRect();
        InflateRect(&around, 4, 4);
        InvalidateRect(Handle(), &around, TRUE);
    }
    InvalidateSample();
}

void CBoxesDlg::PaintFrame(HDC dc)
{
    const RECT group = ControlRect(Handle(), IDC_SAMPLE_FRAME);
    const RECT area{group.left + 3, group.top + 8, group.right - 3, group.bottom - 3};
    if (area.right > area.left && area.bottom > area.top) FillPaletteRect(dc, rec_, area, rec_.AttrColors[kAttrNormal][kAttrBg]);
    for (int side : {kForegroundSide, kBackgroundSide})
        for (int index : kButtonColorIndices) {
            FwBitmapButton* button = buttons_.Button(index, side);
            if (!button) continue;
            RECT around = button->DialogRect();
            around.left -= 4, around.top -= 4, around.right += 3, around.bottom += 3;
            const int kind = BoxKindOf(values, index, side);
            DrawColorBox(dc, rec_, kind, around, kind == kEditBox ? 3 : 0);
        }
}

void CBoxesDlg::PaintText(const DRAWITEMSTRUCT& item)
{
    const BoxSample sample = BoxSampleOf(values, rec_);
    const RECT area = item.rcItem;
    FillPaletteRect(item.hDC, rec_, area, rec_.AttrColors[kAttrNormal][kAttrBg]);
    const std::string text = SampleDate();
    HFONT font = CreateSampleFont(rec_, false, false);
    HGDIOBJ oldFont = SelectObject(item.hDC, font);
    RECT bounds = area;
    DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    RECT place{area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2, 0, 0};
    place.right = place.left + width;
    place.bottom = place.top + height;
    SetTextColor(item.hDC, PaletteColor(rec_, sample.fg) & 0x00FFFFFF);
    SetBkColor(item.hDC, PaletteColor(rec_, sample.bg) & 0x00FFFFFF);
    SetBkMode(item.hDC, OPAQUE);
    RECT clipped{};
    IntersectRect(&clipped, &place, &area);
    ExtTextOutA(item.hDC, place.left, place.top, ETO_CLIPPED | ETO_OPAQUE, &clipped, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    if (sample.kind != kNoBox) {
        RECT box = place;
        InflateRect(&box, 1, 1);
        IntersectRect(&box, &box, &area);
        DrawColorBox(item.hDC, rec_, sample.kind, box, 0);
    }
    SelectObject(item.hDC, oldFont);
    DeleteObject(font);
}
