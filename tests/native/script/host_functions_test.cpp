#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../display/fake_system_sources.h"
#include "common/utf.h"
#include "script/host_functions.h"
#include "script/script_host.h"

namespace {

// Records what the table asked of the program.
class RecordingServices final : public HostServices {
 public:
  std::vector<std::string> log;
  TimeRecord now;
  std::u16string clipboard = u"copied";

  void SetOutputText(std::u16string_view text) override { log.push_back("output " + Utf16ToUtf8(text)); }
  TimeRecord LocalNow() override { return now; }
  std::u16string FormatSystemLine(std::u16string_view format) override {
    log.push_back("system " + Utf16ToUtf8(format));
    return u"cpu:" + std::u16string(format);
  }
  void ShellNotify(std::u16string_view text, int level) override {
    log.push_back("notify " + std::to_string(level) + " " + Utf16ToUtf8(text));
  }
  void ForceAlarm(int32_t value) override { log.push_back("alarm " + std::to_string(value)); }
  void Fadein() override { log.push_back("fadein"); }
  void Fadeout() override { log.push_back("fadeout"); }
  std::u16string ClipboardText() override { return clipboard; }
};

HostValue Str(std::u16string text) { return HostValue{1, 0, std::move(text)}; }
HostValue Int(int32_t n) { return HostValue{0, n, u""}; }

struct Dispatched {
  int32_t returned;
  HostValue result;
  std::vector<std::string> log;
};

Dispatched Dispatch(const char16_t* name, std::vector<HostValue> args, bool japanese = false) {
  RecordingServices services;
  services.now.year = 2026;
  services.now.month = 12;
  services.now.day = 8;
  services.now.hour = 9;
  services.now.minute = 5;
  services.now.second = 7;
  HostValue result;
  HostCall call{name, args.empty() ? nullptr : args.data(), int32_t(args.size()), &result};
  const int32_t returned = DispatchHostCall(call, services, japanese);
  return {returned, result, services.log};
}

using Log = std::vector<std::string>;

TEST(HostFunctions, TableRowsWithTheirArgumentCounts) {
  const struct {
    const char16_t* name;
    std::vector<HostValue> args;
    int32_t returned;
    Log log;
  } cases[] = {
      {u"SETOUTPUTTEXT", {Str(u"hi")}, 1, {"output hi"}},
      {u"setoutputtext", {Int(-5)}, 1, {"output -5"}},
      {u"SetOutputText", {}, 0, {"output Unknown application provided function: CB.SetOutputText(args:0)"}},
      {u"SETOUTPUTTEXT$", {Str(u"x")}, 0, {"output Unknown application provided function: CB.SETOUTPUTTEXT$(args:1)"}},
      {u"FORMATCPUTOSTRING$", {Str(u"{c}")}, 1, {"system {c}"}},
      {u"FORMATCPUTOSTRING", {Int(7)}, 1, {"system 7"}},
      {u"FORMATCPUTOSTRING", {Int(7), Int(8)}, 0,
       {"output Unknown application provided function: CB.FORMATCPUTOSTRING(args:2)"}},
      {u"SHELLNOTIFY", {Str(u"n")}, 0, {"notify 0 n"}},
      {u"SHELLNOTIFY", {Str(u"n"), Int(1)}, 0, {"notify 1 n"}},
      {u"SHELLNOTIFY", {Str(u"n"), Str(u"2")}, 0, {"notify 2 n"}},  // a string level counts
      {u"SHELLNOTIFY", {Str(u"n"), Int(3)}, 0, {"notify 3 n"}},
      {u"SHELLNOTIFY", {Str(u"n"), Int(4)}, 0, {"notify 0 n"}},
      {u"SHELLNOTIFY", {Str(u"n"), Int(-1)}, 0, {"notify 0 n"}},
      {u"SHELLNOTIFY", {Int(12), Str(u"x")}, 0, {"notify 0 12"}},
      {u"SHELLNOTIFY", {}, 0, {"output Unknown application provided function: CB.SHELLNOTIFY(args:0)"}},
      {u"SHELLNOTIFY", {Str(u"a"), Int(1), Int(2)}, 0,
       {"output Unknown application provided function: CB.SHELLNOTIFY(args:3)"}},
      {u"FORCEALARM", {Int(1)}, 0, {"alarm 1"}},
      {u"FORCEALARM", {Str(u" 12abc")}, 0, {"alarm 12"}},  // decimal text rule
      {u"FORCEALARM", {Str(u"x")}, 0, {"alarm 0"}},
      {u"FORCEALARM", {}, 0, {"output Unknown application provided function: CB.FORCEALARM(args:0)"}},
      {u"FADEIN", {}, 0, {"fadein"}},
      {u"FADEIN", {Int(1), Int(2)}, 0, {"fadein"}},
      {u"fadeout", {Int(1)}, 0, {"fadeout"}},
      {u"GETCLIPBOARDTEXTCACHE", {}, 0, {}},
      {u"NOSUCH", {Int(1), Int(2)}, 0, {"output Unknown application provided function: CB.NOSUCH(args:2)"}},
      {u"", {}, 0, {"output Unknown application provided function: CB.(args:0)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name));
    const Dispatched d = Dispatch(c.name, c.args);
    EXPECT_EQ(d.returned, c.returned);
    EXPECT_EQ(d.log, c.log);
  }
}

TEST(HostFunctions, TextResults) {
  EXPECT_EQ(Dispatch(u"FORMATDATETIMETOSTRING", {Str(u"yyyy/MM/dd HH:mm:ss")}).result.text, u"2026/12/08 09:05:07");
  const Dispatched dollar = Dispatch(u"FormatDateTimeToString$", {Str(u"HH:mm")});
  EXPECT_EQ(dollar.result.isString, 1);
  EXPECT_EQ(dollar.result.text, u"09:05");
  EXPECT_EQ(dollar.returned, 1);
  const Dispatched two = Dispatch(u"FORMATDATETIMETOSTRING", {Str(u"HH"), Str(u"mm")});
  EXPECT_EQ(two.result.isString, 0);
  EXPECT_EQ(two.log, Log{"output Unknown application provided function: CB.FORMATDATETIMETOSTRING(args:2)"});

  const Dispatched cpu = Dispatch(u"FORMATCPUTOSTRING", {Str(u"{c}%")});
  EXPECT_EQ(cpu.result.isString, 1);
  EXPECT_EQ(cpu.result.text, u"cpu:{c}%");

  const Dispatched clip = Dispatch(u"GetClipboardTextCache", {Int(1)});
  EXPECT_EQ(clip.result.isString, 1);
  EXPECT_EQ(clip.result.text, u"copied");

  const Dispatched plain = Dispatch(u"SETOUTPUTTEXT", {Str(u"x")});
  EXPECT_EQ(plain.result.isString, 0);
  EXPECT_EQ(plain.result.intValue, 0);
}

TEST(HostFunctions, UnknownTextInBothLanguages) {
  EXPECT_EQ(Dispatch(u"ABC$", {Int(1)}, true).log, Log{"output 不明なアプリ提供関数呼び出し: CB.ABC$(args:1)"});
  EXPECT_EQ(Utf16ToUtf8(UnknownHostFunctionText(u"X", 3, false)), "Unknown application provided function: CB.X(args:3)");
}

DriveWatch NothingWatched() { return DriveWatch{}; }

TEST(HostSystemLine, FirstCallOpensTheQueryAndGivesEmptyText) {
  FakeSystemSources sources;
  sources.load = 37;
  HostSystemLine line(sources);
  EXPECT_EQ(line.Format(u"{c}", 5000, {}, NothingWatched()), u"");
  EXPECT_EQ(sources.opens, 1);
  EXPECT_EQ(line.Format(u"{c}", 5001, {}, NothingWatched()), u" 37");
  EXPECT_EQ(sources.samples, 1);
  line.Close();
  EXPECT_EQ(sources.closes, 1);
  EXPECT_EQ(line.Format(u"{c}", 5002, {}, NothingWatched()), u"");  // opened again
}

TEST(HostSystemLine, FailedOpenIsRetried) {
  FakeSystemSources sources;
  sources.open_succeeds = false;
  HostSystemLine line(sources);
  EXPECT_EQ(line.Format(u"{c}", 10, {}, NothingWatched()), u"");
  EXPECT_EQ(line.Format(u"{c}", 20, {}, NothingWatched()), u"");
  EXPECT_EQ(sources.opens, 2);
  EXPECT_EQ(sources.samples, 0);
}

TEST(HostSystemLine, SamplesOncePerSecondAndReformatsWhenNeeded) {
  FakeSystemSources sources;
  sources.load = 10;
  HostSystemLine line(sources);
  line.Format(u"{c}", 0, {}, NothingWatched());
  EXPECT_EQ(line.Format(u"{c}", 100, {}, NothingWatched()), u" 10");
  sources.load = 20;
  // Within the second: the same pattern keeps the text, a new one formats
  // the kept samples, a cursor pattern follows the cursor.
  EXPECT_EQ(line.Format(u"{c}", 900, {}, NothingWatched()), u" 10");
  EXPECT_EQ(line.Format(u"<{c}>", 950, {}, NothingWatched()), u"< 10>");
  EXPECT_EQ(line.Format(u"{MX}", 960, CursorPoint{12, 3}, NothingWatched()), u"  12");
  EXPECT_EQ(line.Format(u"{MX}", 970, CursorPoint{99, 3}, NothingWatched()), u"  99");
  EXPECT_EQ(sources.samples, 1);
  EXPECT_EQ(line.Format(u"{c}", 1101, {}, NothingWatched()), u" 20");
  EXPECT_EQ(sources.samples, 2);
}

TEST(HostSystemLine, TickWrapStillSamples) {
  FakeSystemSources sources;
  HostSystemLine line(sources);
  line.Format(u"{c}", 0xFFFFFF00u, {}, NothingWatched());
  line.Format(u"{c}", 0xFFFFFF10u, {}, NothingWatched());
  EXPECT_EQ(sources.samples, 1);
  line.Format(u"{c}", 0x00000500u, {}, NothingWatched());  // 1,520 ms later, across the wrap
  EXPECT_EQ(sources.samples, 2);
}

// Thread creation as a test sets it.
class FakeStarter final : public ScriptThreadStarter {
 public:
  bool succeeds = true;
  int starts = 0;
  int forgets = 0;
  void ForgetEndedThread() override { ++forgets; }
  bool StartThread() override {
    ++starts;
    return succeeds;
  }
};

TEST(MemoScriptPoller, OneRunPerNewSecondNeverOverlapped) {
  MemoScriptPoller poller;
  FakeStarter starter;
  // A fake clock of second keys, one poll per display tick (several a second).
  const struct {
    int32_t key;
    bool end_run_before;  // the script thread ends before this poll
    bool started;
  } ticks[] = {
      {SecondKey(0, 0), false, true},  {SecondKey(0, 0), false, false},  // same second
      {SecondKey(0, 1), true, true},                                     // new second, run ended
      {SecondKey(0, 2), false, false},                                   // still running: skipped
      {SecondKey(0, 3), false, false},  {SecondKey(0, 3), true, false},  // ended within second 3
      {SecondKey(0, 4), false, true},                                    // first new second after
      {SecondKey(1, 4), true, true},                                     // a minute later, same second
  };
  for (const auto& t : ticks) {
    if (t.end_run_before) poller.RunEnded();
    EXPECT_EQ(poller.Poll(t.key, starter), t.started) << t.key;
    if (t.started) {
      EXPECT_TRUE(poller.running());
    }
  }
  EXPECT_EQ(starter.starts, 4);
  EXPECT_EQ(starter.forgets, 4);
}

TEST(MemoScriptPoller, FailedStartTriesAgainNextSecond) {
  MemoScriptPoller poller;
  FakeStarter starter;
  starter.succeeds = false;
  EXPECT_FALSE(poller.Poll(5, starter));
  EXPECT_FALSE(poller.running());
  EXPECT_FALSE(poller.Poll(5, starter));
  EXPECT_EQ(starter.starts, 1);
  starter.succeeds = true;
  EXPECT_TRUE(poller.Poll(6, starter));
}

TEST(MemoScriptPoller, StopRequestOnlyWhileRunningAndTakenOnce) {
  MemoScriptPoller poller;
  FakeStarter starter;
  poller.RequestStop();  // nothing runs: nothing to ask
  EXPECT_FALSE(poller.TakeStopRequest());
  poller.Poll(1, starter);
  poller.RequestStop();
  EXPECT_TRUE(poller.TakeStopRequest());
  EXPECT_FALSE(poller.TakeStopRequest());
  poller.RequestStop();
  poller.RunEnded();
  poller.Poll(2, starter);  // a new run starts without the old request
  EXPECT_FALSE(poller.TakeStopRequest());
}

}  // namespace
