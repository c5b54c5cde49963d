// A 24 x 80 model 2 session with allocated planes, English US tables and recording fakes.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/ibm3270/3270keyb.h"
#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/outbound_stream.h"
#include "engine/screen_planes.h"
#include "fake_3270_calls.h"
#include "fake_platform.h"
#include "../../../tools/feed3270/screen_dump.h"

class Tn3270Test : public testing::Test {
protected:
    void SetUp() override
    {
        ResetFake3270Calls();
        if (Rec->CharsBase) FreeScreenBuffers();
        std::memset(static_cast<void*>(Rec), 0, sizeof *Rec);
        Rec->MaxRows = 24;
        Rec->MaxCols = 80;
        Rec->CellWidth = 8;
        Rec->CellHeight = 16;
        Rec->Charset3270 = 5;
        Rec->Terminal3270 = 16;
        Rec->TerminalFamily3270 = 1;
        Rec->AllowDOS = 1;
        ASSERT_EQ(AllocScreenBuffers(), 1);
        Load3270State();
        Set3270Geometry(24, 80);
        Tn3270State.AltRows3270 = 24;
        Tn3270State.AltColumns3270 = 80;
        Init3270Screen();
        ResetFake3270Calls();
    }

    void TearDown() override
    {
        FreeScreenBuffers();
        PlaneHooks = DefaultScreenPlaneHooks();
    }

    static std::vector<uint8_t> Bytes(const std::string& hex)
    {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(Parse3270Hex(hex, bytes)) << hex;
        return bytes;
    }

    // Feeds one piece; returns the bytes consumed.
    int Feed(const std::string& hex, int endOfRecord = 1)
    {
        const std::vector<uint8_t> bytes = Bytes(hex);
        return Process3270Stream(nullptr, bytes.data(), static_cast<int>(bytes.size()), endOfRecord);
    }

    void Keys(const std::string& text)
    {
        Send3270KeyString(nullptr, reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
    }

    static std::vector<std::string> InboundHex()
    {
        std::vector<std::string> records;
        for (const auto& r : FakeCalls.Records()) records.push_back(Hex3270(r));
        return records;
    }

    static int Cursor() { return Tn3270State.CursorAddress; }
};
