#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_message_boxes.h"
#include "support/recording_trace.h"

namespace kivo {
namespace {

class FakeStartupPlatform : public StartupPlatform {
 public:
  MutexResult mutex_result = MutexResult::Created;
  bool window_exists = false;
  std::vector<std::string> calls;

  MutexResult create_instance_mutex(const char* name) override {
    calls.push_back(std::string("mutex ") + name);
    return mutex_result;
  }
  bool restore_window(const char* title) override {
    calls.push_back(std::string("restore ") + title);
    return window_exists;
  }
  void init_common_controls() override { calls.push_back("controls"); }
  void load_application_icon() override { calls.push_back("icon"); }
  void run_main_window() override { calls.push_back("window"); }
  void release_instance_mutex() override { calls.push_back("release"); }
};

struct StartupTest : ::testing::Test {
  test::RecordingTraceSink sink;
  Trace trace{sink};
  test::FakeMessageBoxes boxes;
  FakeStartupPlatform platform;
  Options options;
  CommandSet command_set = CommandSet::Standard;

  int run(std::string command_line) {
    StartupContext context{platform, boxes, trace, options, command_set};
    return run_startup(context, command_line.data());
  }
};

TEST_F(StartupTest, NormalRunTakesTheMutexRunsTheWindowAndReleasesIt) {
  EXPECT_EQ(run("/port:com7 /commandset:sierra"), 1);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"mutex KIVO", "controls", "icon", "window", "release"}));
  EXPECT_STREQ(options.port_name, "COM7");
  EXPECT_EQ(command_set, CommandSet::Sierra);
  EXPECT_EQ(sink.lines(), (std::vector<std::string>{"KIVO: application started",
                                                    "KIVO: application terminated"}));
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(StartupTest, HelpIsShownBeforeAnySingleInstanceTest) {
  EXPECT_EQ(run("/sessionlog /?"), 0);
  EXPECT_TRUE(platform.calls.empty());
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].caption, "KIVO Command Line Help");
  EXPECT_EQ(boxes.shown()[0].text, kCommandLineHelp);
  EXPECT_EQ(boxes.shown()[0].icon, BoxIcon::Information);
  EXPECT_EQ(boxes.shown()[0].owner, BoxOwner::None);
  EXPECT_EQ(sink.lines(), std::vector<std::string>{"KIVO: application started"});
}

TEST_F(StartupTest, SecondInstanceRestoresTheFirstWindowQuietly) {
  platform.mutex_result = MutexResult::AlreadyExists;
  platform.window_exists = true;
  EXPECT_EQ(run(""), 0);
  EXPECT_EQ(platform.calls, (std::vector<std::string>{"mutex KIVO", "restore Kivoscope"}));
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_FALSE(sink.contains("KIVO: application terminated"));
}

TEST_F(StartupTest, SecondInstanceWithoutAWindowSaysAnotherCopyRuns) {
  platform.mutex_result = MutexResult::AlreadyExists;
  EXPECT_EQ(run(""), 0);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, "Another copy of KIVO is already running.");
  EXPECT_EQ(boxes.shown()[0].caption, "KIVO");
  EXPECT_EQ(boxes.shown()[0].icon, BoxIcon::Error);
}

TEST_F(StartupTest, MutexFailureStopsWithAnErrorBox) {
  platform.mutex_result = MutexResult::Failed;
  EXPECT_EQ(run(""), 0);
  EXPECT_EQ(platform.calls, std::vector<std::string>{"mutex KIVO"});
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, "Unable to create mutex object.");
  EXPECT_EQ(boxes.shown()[0].icon, BoxIcon::Error);
  EXPECT_FALSE(sink.contains("KIVO: application terminated"));
}

}  // namespace
}  // namespace kivo
