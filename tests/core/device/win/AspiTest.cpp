// The ASPI transport and its call bridge against a fake ASPI layer exported
// by this test program itself: the request blocks, the completion event,
// the drive scan and the error rules.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "AspiRequests.h"
#include "clsASPI.h"
#include "clsCDECL.h"

namespace AR = AspiRequests;

namespace {
// How the fake layer answers.
struct FakeLayer {
    std::uint32_t support = 0x0102;  // completed, two host adapters
    std::uint8_t status = AR::kCompleted, targetStatus = 0;
    int delayMs = 0;             // execute requests complete on a thread after this
    bool neverComplete = false;  // until aborted
    std::vector<std::vector<std::uint8_t>> executes, aborts;
    std::uint8_t* pending = nullptr;
    // Fixed-format sense 05/24/00; descriptor format is decoded as well.
    std::vector<std::uint8_t> sense = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0};
};
FakeLayer g_layer;

void Finish(std::uint8_t* request, std::uint8_t status) {
    request[AR::kTargetStatus] = g_layer.targetStatus;
    std::memcpy(request + AR::kSense, g_layer.sense.data(), g_layer.sense.size());
    HANDLE event;
    std::memcpy(&event, request + AR::kCompletionEvent, sizeof event);
    std::atomic_ref<std::uint8_t>(request[AR::kStatus]).store(status);
    ::SetEvent(event);
}
}  // namespace

extern "C" __declspec(dllexport) DWORD __cdecl GetASPI32SupportInfo() {
    return g_layer.support;
}

extern "C" __declspec(dllexport) DWORD __cdecl SendASPI32Command(void* block) {
    auto* request = static_cast<std::uint8_t*>(block);
    switch (request[AR::kCommand]) {
        case AR::kGetDeviceType:  // one CD-ROM at adapter 1, target 0, LUN 0
            request[AR::kDeviceType] =
                request[AR::kAdapter] == 1 && request[AR::kTarget] == 0 && request[AR::kLun] == 0
                    ? AR::kCdRom
                    : 0;
            return request[AR::kStatus] = AR::kCompleted;
        case AR::kAbort:
            g_layer.aborts.emplace_back(request, request + AR::kAbortBytes);
            std::thread(Finish, g_layer.pending, AR::kAborted).detach();
            return request[AR::kStatus] = AR::kCompleted;
    }
    g_layer.executes.emplace_back(request, request + AR::kExecuteBytes);
    g_layer.pending = request;
    if (g_layer.neverComplete) return AR::kPending;
    std::thread([request] {
        ::Sleep(g_layer.delayMs);
        Finish(request, g_layer.status);
    }).detach();
    return AR::kPending;
}

extern "C" __declspec(dllexport) DWORD
    __cdecl MapleWeightedSum(std::intptr_t a1, std::intptr_t a2, std::intptr_t a3, std::intptr_t a4,
                             std::intptr_t a5, std::intptr_t a6, std::intptr_t a7, std::intptr_t a8,
                             std::intptr_t a9, std::intptr_t a10, std::intptr_t a11,
                             std::intptr_t a12, std::intptr_t a13, std::intptr_t a14,
                             std::intptr_t a15, std::intptr_t a16) {
    const std::intptr_t all[] = {a1, a2,  a3,  a4,  a5,  a6,  a7,  a8,
                                 a9, a10, a11, a12, a13, a14, a15, a16};
    DWORD sum = 0;
    for (int i = 0; i < 16; ++i) sum += static_cast<DWORD>((i + 1) * all[i]);
    return sum;
}

namespace {
std::string ThisProgram() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::string(path, path + length);  // the test folder's path is ASCII
}

// A system without CD-ROM letters.
class NoLetters : public SptiSystem {
  public:
    unsigned DriveType(char) override { return 3; }
    bool NtVersion5OrLater() override { return true; }
    std::intptr_t Open(const std::string&, std::uint32_t) override { return kInvalidHandle; }
    void Close(std::intptr_t) override {}
    bool Control(std::intptr_t, std::uint32_t, void*, std::uint32_t, std::uint32_t) override {
        return false;
    }
    std::uint32_t LastError() override { return 1; }
};

class Aspi : public ::testing::Test {
  protected:
    void SetUp() override { g_layer = FakeLayer{}; }
    clsASPI Make() { return clsASPI(std::make_unique<NoLetters>(), ThisProgram()); }
};

std::uint64_t Field(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = value << 8 | bytes.at(at + i);
    return value;
}

TEST(Cdecl, CallsThroughFunctionPointersAndRaisesItsThreeErrors) {
    clsCDECL bridge;
    const auto call = [&](const std::string& name, std::size_t count) {
        try {
            return std::to_string(bridge.CallFunc(name, std::vector<std::intptr_t>(count, 1)));
        } catch (const CdeclError& error) {
            return std::to_string(error.Number()) + " " + error.what();
        }
    };
    EXPECT_EQ(call("MapleWeightedSum", 16), std::to_string(0x80040000u) + " DLL not loaded");
    ASSERT_TRUE(bridge.DllLoad(ThisProgram()));
    EXPECT_EQ(bridge.CallFunc("MapleWeightedSum",
                              {16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}),
              816u);
    EXPECT_EQ(call("MapleWeightedSum", 17), std::to_string(0x80040002u) + " Too many parameters");
    EXPECT_EQ(call("NoSuchFunction", 0),
              std::to_string(0x80040001u) + " Failed to locate function: NoSuchFunction");
    EXPECT_EQ(call("GetASPI32SupportInfo", 0), "258");
    EXPECT_TRUE(bridge.DllUnload());
    EXPECT_FALSE(bridge.DllUnload());
    EXPECT_FALSE(bridge.DllLoad("Z:\\no\\such.dll"));
}

TEST_F(Aspi, ScansEveryAdapterTargetAndLunForCdRoms) {
    clsASPI aspi = Make();
    EXPECT_EQ(aspi.Interface(), "ASPI");
    EXPECT_TRUE(aspi.Installed() && aspi.Initialized());
    ASSERT_EQ(aspi.DriveCount(), 1);
    const std::string drive = aspi.DriveHandle(1);
    EXPECT_EQ(drive, std::string("\x01\x00\x00", 3));
    EXPECT_EQ(aspi.HostAdapter(drive), 1);
    EXPECT_EQ(aspi.DriveChar(drive), "");  // no drive letter has its address
    g_layer.support = 0x0402;
    EXPECT_FALSE(aspi.Initialized());
    EXPECT_FALSE(clsASPI(std::make_unique<NoLetters>(), "Z:\\no\\wnaspi32.dll").Installed());
}

TEST_F(Aspi, TheExecuteRequestAndItsCompletionEvent) {
    clsASPI aspi = Make();
    std::uint8_t data[36];
    const std::uint8_t cdb[6] = {0x12, 0, 0, 0, 36, 0};
    std::int32_t timeout = 5;
    g_layer.delayMs = 200;  // beyond the first 30 ms: the event is waited for
    g_layer.targetStatus = 2;
    EXPECT_EQ(aspi.ExecCMD(aspi.DriveHandle(1), cdb, 6, 0, data, 36, timeout), 2);
    EXPECT_EQ(aspi.LastSK(), 5);
    EXPECT_EQ(aspi.LastASC(), 0x24);
    g_layer.sense = {0x72, 0x03, 0x11, 0x05, 0, 0, 0, 0};
    EXPECT_EQ(aspi.ExecCMD(aspi.DriveHandle(1), cdb, 6, 0, data, 36, timeout), 2);
    EXPECT_EQ(aspi.LastSK(), 3);
    EXPECT_EQ(aspi.LastASC(), 0x11);
    EXPECT_EQ(aspi.LastASCQ(), 0x05);
    const std::vector<std::uint8_t>& request = g_layer.executes.back();
    ASSERT_EQ(request.size(), 88u);  // 80 with 4-byte pointers
    // Offsets of the 32-bit layout as the two 8-byte pointers move them.
    struct Expected {
        std::size_t at32, at64, width;
        std::uint64_t value;
    };
    const Expected fields[] = {
        {0, 0, 1, 2},    {1, 1, 1, 0},
        {2, 2, 1, 1},    {3, 3, 1, 0x08},
        {8, 8, 1, 0},    {9, 9, 1, 0},
        {12, 12, 4, 36}, {16, 16, 8, reinterpret_cast<std::uintptr_t>(data)},
        {20, 24, 1, 14}, {21, 25, 1, 6},
        {22, 26, 1, 0},  {23, 27, 1, 0},
        {28, 36, 8, 0},  {32, 44, 8, 0},
        {40, 52, 4, 0},  {64, 72, 8, 0},
    };
    for (const Expected& field : fields)
        EXPECT_EQ(Field(request, field.at64, field.width), field.value) << "offset " << field.at32;
    EXPECT_NE(Field(request, 28, 8), 0u);  // the completion event (24 in 32 bits)
    EXPECT_TRUE(std::equal(cdb, cdb + 6, request.begin() + 56));  // CDB: 48 in 32 bits
    g_layer.delayMs = 0;
    const std::uint8_t write[10] = {0x2A};
    EXPECT_EQ(aspi.ExecCMD(aspi.DriveHandle(1), write, 10, 1, data, 36, timeout), 2);
    EXPECT_EQ(g_layer.executes.back()[3], 0x10);  // data out
}

TEST_F(Aspi, AnAdapterErrorIsNoSuccessAndATimeOutAbortsTheRequest) {
    clsASPI aspi = Make();
    const std::uint8_t cdb[6] = {0};
    std::int32_t timeout = 5;
    g_layer.status = 4;  // an adapter-level error, target status 0
    EXPECT_EQ(aspi.ExecCMD(aspi.DriveHandle(1), cdb, 6, 0, nullptr, 0, timeout), 255);
    g_layer.neverComplete = true;
    timeout = 1;
    EXPECT_EQ(aspi.ExecCMD(aspi.DriveHandle(1), cdb, 6, 0, nullptr, 0, timeout), 255);
    ASSERT_EQ(g_layer.aborts.size(), 1u);
    EXPECT_EQ(g_layer.aborts[0][AR::kCommand], AR::kAbort);
    EXPECT_EQ(g_layer.aborts[0][AR::kAdapter], 1);
    EXPECT_EQ(Field(g_layer.aborts[0], AR::kToAbort, 8),
              reinterpret_cast<std::uintptr_t>(g_layer.pending));
}
}  // namespace
