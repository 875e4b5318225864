#include "StartUpArguments.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestEnvironment.h"

namespace {
using Kind = StartUpRequest::Kind;
}  // namespace

TEST(StartUpArguments, TheFirstFileIsTheImageAsAnAbsolutePath) {
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(ReadStartUpArguments({}), StartUpRequest{});
    EXPECT_EQ(ReadStartUpArguments({"--option"}), StartUpRequest{});
    EXPECT_EQ(ReadStartUpArguments({"--option", "discs/../a.iso", "b.iso"}),
              (StartUpRequest{Kind::Image, {InFolder(here, "a.iso")}}));
    EXPECT_EQ(ReadStartUpArguments({InFolder(here, "b.iso")}),
              (StartUpRequest{Kind::Image, {InFolder(here, "b.iso")}}));
    EXPECT_EQ(ReadStartUpArguments({"--", "-dash.iso"}),
              (StartUpRequest{Kind::Image, {InFolder(here, "-dash.iso")}}));
}

TEST(StartUpArguments, DataAndAudioTakeEveryPathAndTravelToTheRunningProgram) {
    const std::string here = std::filesystem::current_path().string();
    const StartUpRequest data{Kind::Data, {InFolder(here, "photos"), InFolder(here, "-notes.txt")}};
    EXPECT_EQ(ReadStartUpArguments({"--data", "photos", "--", "-notes.txt"}), data);
    const StartUpRequest audio{Kind::Audio, {InFolder(here, "a.flac"), InFolder(here, "b.wav")}};
    EXPECT_EQ(ReadStartUpArguments({"--audio", "a.flac", "b.wav"}), audio);
    // "--data" with nothing to add opens nothing.
    EXPECT_EQ(ReadStartUpArguments({"--data"}), StartUpRequest{});
    // What a second start sends reads back as the same request, "--" and all.
    for (const StartUpRequest& request :
         {data, audio, StartUpRequest{Kind::Image, {InFolder(here, "--data")}}})
        EXPECT_EQ(ReadStartUpArguments(StartUpArgumentsOf(request)), request);
}
