// A build the user stops: no image and no partial file are left.
#include <gtest/gtest.h>

#include <filesystem>

#include "IsoWriterTest.h"

namespace {
// Asks to stop from the (stopAt + 1)-th question on.
class StoppingEvents : public EventLog {
  public:
    explicit StoppingEvents(int stopAt) : m_stopAt(stopAt) {}
    bool CancelRequested() override { return ++checks > m_stopAt; }
    int checks = 0;

  private:
    int m_stopAt;
};

class IsoCancellation : public IsoWriterTest {};

TEST_F(IsoCancellation, AStopDuringTheFileDataRemovesThePartialImage) {
    for (const char* name : {"a.bin", "b.bin"}) {
        m_source.Put(std::string("/memory/") + name, std::string(3 << 20, name[0]));
        ASSERT_NE(m_writer.Root().Files().Add(std::string("/memory/") + name, ""), nullptr);
    }
    const std::string out = m_folder.File("out.iso");
    WriteFile(out, "previous image");
    StoppingEvents events(3);  // inside the first file's data
    m_writer.SetEvents(&events);
    EXPECT_FALSE(m_writer.SaveISO(out));
    EXPECT_TRUE(m_writer.Cancelled());
    EXPECT_EQ(events.checks, 4);  // nothing more was asked (or written) after the stop
    EXPECT_NE(m_writer.LastError().find("stopped"), std::string::npos);
    EXPECT_FALSE(HasPartialFile(out));
    EXPECT_EQ(ReadFile(out), "previous image");
    // The next build starts afresh.
    m_writer.SetEvents(nullptr);
    EXPECT_TRUE(m_writer.SaveISO(out)) << m_writer.LastError();
    EXPECT_FALSE(m_writer.Cancelled());
}
}  // namespace
