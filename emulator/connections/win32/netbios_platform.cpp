#include "connections/win32/netbios_platform.h"

#include <windows.h>
#include <nb30.h>

#include <cstdlib>
#include <cstring>

#include "connections/netbios_session.h"

namespace {

// The platform's record of one submitted command and the session's NCB it stands for.
struct Carrier {
    NCB ncb;
    Ncb* ours;
};

// Copies the results back into the session's NCB. Netbios's return value counts as well: the
// platform does not write every code into the record.
void CopyBack(const NCB& ncb, Ncb* ours, UCHAR returned) {
    ours->retcode = returned != NRC_GOODRET ? returned : ncb.ncb_retcode;
    ours->cmdCplt = ncb.ncb_cmd_cplt != NRC_PENDING ? ncb.ncb_cmd_cplt : ours->retcode;
    ours->lsn = ncb.ncb_lsn;
    ours->num = ncb.ncb_num;
    ours->length = ncb.ncb_length;
}

void CALLBACK CarrierPost(PNCB ncb) {
    Carrier* carrier = reinterpret_cast<Carrier*>(ncb);
    Ncb* ours = carrier->ours;
    CopyBack(carrier->ncb, ours, NRC_GOODRET);
    if (ours->cmdCplt == NRC_GOODRET && carrier->ncb.ncb_retcode != NRC_GOODRET &&
        carrier->ncb.ncb_retcode != NRC_PENDING)
        ours->cmdCplt = carrier->ncb.ncb_retcode;
    // The platform may still use its record after the post routine returns; it is released
    // with the session's NCB, once the completion has been handled.
    ours->platformRecord = carrier;
    ours->releasePlatformRecord = std::free;
    if (ours->post) ours->post(ours);
}

class Win32NetbiosPlatform final : public NetbiosPlatform {
public:
    uint8_t Submit(Ncb* ours) override {
        Carrier* carrier = static_cast<Carrier*>(std::calloc(1, sizeof(Carrier)));
        if (!carrier) return kNrcNoMemory;
        carrier->ours = ours;
        NCB& ncb = carrier->ncb;
        ncb.ncb_command = ours->command;
        ncb.ncb_lsn = ours->lsn;
        ncb.ncb_num = ours->num;
        ncb.ncb_buffer = ours->buffer;
        ncb.ncb_length = ours->length;
        std::memcpy(ncb.ncb_callname, ours->callname, NCBNAMSZ);
        std::memcpy(ncb.ncb_name, ours->name, NCBNAMSZ);
        ncb.ncb_rto = ours->rto;
        ncb.ncb_sto = ours->sto;
        ncb.ncb_lana_num = ours->lanaNum;
        bool noWait = (ours->command & ASYNCH) && ours->post;
        if (noWait) ncb.ncb_post = CarrierPost;
        UCHAR returned = Netbios(&ncb);
        // An accepted no-wait command belongs to the post routine from here on.
        if (noWait && returned == NRC_GOODRET) return NRC_GOODRET;
        CopyBack(ncb, ours, returned);
        std::free(carrier);
        return ours->retcode;
    }
    void PostCompletion(ViewWindow window, unsigned message, unsigned command, Ncb* ncb) override {
        PostMessageA(reinterpret_cast<HWND>(window), message, command, reinterpret_cast<LPARAM>(ncb));
    }
    void ComputerName(char name[16]) override {
        DWORD size = 16;
        if (!GetComputerNameA(name, &size)) name[0] = '\0';
    }
    bool ScrollLockOn() override { return (GetKeyState(VK_SCROLL) & 1) != 0; }
    bool AskOkCancel(const char* text) override {
        return MessageBoxA(nullptr, text, "Tolvi", MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
    }
};

Win32NetbiosPlatform platform;

}  // namespace

NetbiosPlatform& Win32Netbios() { return platform; }

void InstallWin32NetbiosTransport() { InstallNetbiosTransport(platform); }
