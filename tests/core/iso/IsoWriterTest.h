#pragma once

#include <gtest/gtest.h>

#include <string>

#include "IsoTestSupport.h"
#include "TestEnvironment.h"
#include "clsISOWriter.h"

// An image writer over in-memory source files, its events logged, writing
// into a fresh folder.
class IsoWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_writer.SetFileSource(&m_source);
        m_writer.SetEvents(&m_events);
    }
    // Saves the image and returns its bytes.
    std::string Build() {
        const std::string path = m_folder.File("out.iso");
        EXPECT_TRUE(m_writer.SaveISO(path)) << m_writer.LastError();
        return ReadFile(path);
    }

    TempFolder m_folder;
    MemoryFileSource m_source;
    EventLog m_events;
    clsISOWriter m_writer;
};
