// "More on TCP/IP", the product-information page of the About box: two pictures drawn with white
// left transparent above the page's texts.
#pragma once

#include <memory>
#include <vector>

#include "fw_dialog.h"
#include "shell/win32/masked_bitmap.h"

class CMoreInfoDlg : public FwDialog {
public:
    explicit CMoreInfoDlg(HWND owner);

protected:
    bool OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    struct Picture {
        std::unique_ptr<CMaskedBitmap> bitmap;
        int left = 0;  // the placeholder's left edge in client coordinates
    };
    std::vector<Picture> pictures_;
};
