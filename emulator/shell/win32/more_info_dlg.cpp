#include "shell/win32/more_info_dlg.h"

#include "session_dialog_ids.h"

namespace {

// The pictures stand this many pixels below the top of the client area.
constexpr int kPictureTop = 30;

}  // namespace

CMoreInfoDlg::CMoreInfoDlg(HWND owner) : FwDialog(IDD_MORE_INFO, owner) {}

bool CMoreInfoDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    const struct {
        int placeholder, bitmap;
    } places[] = {{IDC_MORE_INFO_PICTURE1, IDB_MORE_INFO1}, {IDC_MORE_INFO_PICTURE2, IDB_MORE_INFO2}};
    for (const auto& place : places) {
        RECT area{};
        GetWindowRect(GetDlgItem(place.placeholder), &area);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);
        ShowItem(place.placeholder, false);
        Picture picture;
        picture.bitmap = std::make_unique<CMaskedBitmap>();
        picture.left = area.left;
        if (picture.bitmap->LoadBitmap(place.bitmap)) pictures_.push_back(std::move(picture));  // one that fails is dropped
    }
    CenterWindow();
    return true;
}

bool CMoreInfoDlg::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result)
{
    if (message != WM_PAINT) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    for (const Picture& picture : pictures_) picture.bitmap->DrawTransparent(dc, picture.left, kPictureTop, RGB(255, 255, 255));
    EndPaint(Handle(), &paint);
    result = 0;
    return true;
}
