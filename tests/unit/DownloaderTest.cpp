#include "download/Downloader.h"
#include "download/RetryPolicy.h"

#include <gtest/gtest.h>

#include <atomic>

#include "tests/fakes/DownloadFakes.h"

namespace {

using fakes::TReadStep;
using fakes::TServerScript;

const platform::TPath Destination = L"C:\\Users\\ann\\Downloads\\VestoraEditorInstaller.exe";
const std::string Retry = "\xAC" "Please check your internet connection and try again.";

struct TReport {
  std::string Text;
  std::int32_t Percent;
  friend bool operator==(const TReport&, const TReport&) = default;
  friend std::ostream& operator<<(std::ostream& Out, const TReport& R) { return Out << R.Percent << " [" << R.Text << "]"; }
};

// Blocks of 2048 bytes, then a short block, making up Bytes in all.
std::deque<TReadStep> Body(std::uint32_t Bytes) {
  std::deque<TReadStep> Steps;
  for (std::uint32_t Left = Bytes; Left > 0;) {
    const std::uint32_t Block = std::min<std::uint32_t>(Left, 2048);
    Steps.push_back({Block, std::nullopt});
    Left -= Block;
  }
  return Steps;
}

// Bytes in blocks as Body gives them, with runs of empty reads: Count of them before block At.
std::deque<TReadStep> WithEmptyReads(std::uint32_t Bytes, std::vector<std::pair<std::size_t, int>> Runs) {
  std::deque<TReadStep> Steps = Body(Bytes);
  for (auto Run = Runs.rbegin(); Run != Runs.rend(); ++Run) {
    Steps.insert(Steps.begin() + static_cast<std::ptrdiff_t>(Run->first), static_cast<std::size_t>(Run->second),
                 TReadStep{0, std::nullopt});
  }
  return Steps;
}

class Downloader : public ::testing::Test {
protected:
  // Runs one download to its end, as the window's cancel path waits for it.
  std::vector<TReport> Run(TServerScript Script, std::vector<std::uint32_t> Ticks = {0},
                           std::function<void(download::TDownloader&, const TReport&)> OnReport = nullptr) {
    const bool CancelWhileOpening = Script.OpenWaits;
    Internet = std::make_unique<fakes::TScriptedInternet>(std::move(Script));
    Internet->Then = std::move(Later);
    Internet->CancelInPause = CancelInPause;
    Internet->PromptAnswers = Passwords;
    Clock = std::make_unique<fakes::TScriptedClock>(std::move(Ticks));
    std::vector<TReport> Reports;
    download::TDownloader* Self = nullptr;
    download::TDownloader Thread({*Internet, Disk, *Clock, Owner, Separator}, "http://links/x", Destination,
                                 [&](const std::string& Text, std::int32_t Percent) {
                                   Reports.push_back({Text, Percent});
                                   if (OnReport && Self != nullptr) OnReport(*Self, Reports.back());
                                 },
                                 MinSize, [&](download::IDownloadThread&) { ReportsBeforeAfter = Reports.size(); });
    Self = &Thread;
    // A session that opens only when let go is one the user cancels while it opens.
    if (CancelWhileOpening) {
      Thread.Terminate();
      Internet->ReleaseOpen();
    }
    Thread.WaitFor();
    return Reports;
  }

  std::unique_ptr<fakes::TScriptedInternet> Internet;
  std::unique_ptr<fakes::TScriptedClock> Clock;
  fakes::TMemoryDisk Disk;
  fakes::TTestOwner Owner;
  char Separator = '.';
  std::int32_t MinSize = 100000;
  std::deque<TServerScript> Later;  // the answers to the requests after the first
  bool CancelInPause = false;
  std::deque<bool> Passwords;  // given at the proxy's prompts
  std::optional<std::size_t> ReportsBeforeAfter;  // when the work after a complete download ran
};

struct TEndCase {
  const char* Name;
  TServerScript Script;
  std::int32_t MinSize;
  TReport Last;
  std::optional<std::uint64_t> FileLeft;  // the size of the file that remains, if one does
  std::optional<std::uint64_t> Capacity = std::uint64_t{1} << 40;  // of the disk; nothing: unknown
};

class DownloadEnds : public Downloader, public ::testing::WithParamInterface<TEndCase> {};

TEST_P(DownloadEnds, WithTheRightReport) {
  MinSize = GetParam().MinSize;
  Disk.Capacity = GetParam().Capacity;
  const std::vector<TReport> Reports = Run(GetParam().Script);
  // Nothing is read for a file that cannot be kept.
  if (GetParam().Last.Text.find("[6:112]") != std::string::npos) {
    EXPECT_EQ(Internet->ReadCalls, 0);
  }
  ASSERT_GE(Reports.size(), 2u);
  EXPECT_EQ(Reports.front(), (TReport{"Downloading...", 0}));
  EXPECT_EQ(Reports.back(), GetParam().Last);
  EXPECT_EQ(ReportsBeforeAfter, GetParam().Last.Percent == 100 ? std::optional(Reports.size()) : std::nullopt);
  EXPECT_EQ(Disk.Exists(Destination), GetParam().FileLeft.has_value());
  if (GetParam().FileLeft) {
    EXPECT_EQ(Disk.SizeByName(Destination), *GetParam().FileLeft);
  }
}

TServerScript Answer(std::optional<std::uint32_t> Status, std::optional<std::uint32_t> Length,
                     std::deque<TReadStep> Reads = {}) {
  TServerScript Script;
  Script.Status = Status;
  Script.ContentLength = Length;
  Script.Reads = std::move(Reads);
  return Script;
}

TServerScript NoRoot() {
  TServerScript Script;
  Script.RootOpens = false;
  return Script;
}

TServerScript NoUrl() {
  TServerScript Script;
  Script.UrlOpens = false;
  return Script;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, DownloadEnds,
    ::testing::Values(
        TEndCase{"RootHandleFails", NoRoot(), 100000,
                 {"Download Error\xAC" "Please check internet connection", -1}, std::nullopt},
        TEndCase{"UrlCannotBeOpened", NoUrl(), 100000, {"Download Error [1]" + Retry, -1}, std::nullopt},
        TEndCase{"NotFound", Answer(404, 500000), 100000, {"Download Error + [2:404]" + Retry, -1}, std::nullopt},
        TEndCase{"StatusQueryFails", Answer(std::nullopt, 500000), 100000, {"Download Error [2]" + Retry, -1}, std::nullopt},
        TEndCase{"NoContentLength", Answer(200, std::nullopt), 100000, {"Download Error [3]" + Retry, -1}, std::nullopt},
        TEndCase{"ZeroLengthEvenWithoutMinimum", Answer(200, 0), -1, {"Download Error [3]" + Retry, -1}, std::nullopt},
        TEndCase{"BelowTheMinimum", Answer(200, 99999), 100000, {"Download Error [3]" + Retry, -1}, std::nullopt},
        TEndCase{"ReadFailsHalfway", Answer(200, 300000, {{150000, std::nullopt}, {0, 12004}}), 100000,
                 {"Download Error [4]" + Retry, -1}, std::nullopt},
        TEndCase{"ConnectionDropsHalfway", Answer(200, 300000, {{150000, std::nullopt}}), 100000,
                 {"Download Error [5]" + Retry, -1}, std::nullopt},
        TEndCase{"ExactlyTheMinimumIsAccepted", Answer(200, 100000, Body(100000)), 100000,
                 {"Downloaded\xAC" "0 of 0mb", 100}, 100000},
        TEndCase{"SixEmptyReadsInTheMiddleEndTheData", Answer(200, 100000, WithEmptyReads(100000, {{20, 6}})), 100000,
                 {"Download Error [5]" + Retry, -1}, std::nullopt},
        TEndCase{"TwoRunsOfThreeEmptyReadsAreNoEnd", Answer(200, 100000, WithEmptyReads(100000, {{10, 3}, {30, 3}})),
                 100000, {"Downloaded\xAC" "0 of 0mb", 100}, 100000},
        TEndCase{"ExactlyTheRoomItNeeds", Answer(200, 100000, Body(100000)), 100000,
                 {"Downloaded\xAC" "0 of 0mb", 100}, 100000, 100000},
        TEndCase{"TooLittleRoomEndsBeforeTheBody", Answer(200, 100000, Body(100000)), 100000,
                 {"Download Error [6:112]" + Retry, -1}, std::nullopt, 99999},
        TEndCase{"UnknownRoomIsTried", Answer(200, 100000, Body(100000)), 100000,
                 {"Downloaded\xAC" "0 of 0mb", 100}, 100000, std::nullopt},
        TEndCase{"ABodyLongerThanItsLengthIsNoDownload", Answer(200, 100000, Body(100001)), 100000,
                 {"Download Error [5]" + Retry, -1}, std::nullopt}),
    [](const ::testing::TestParamInfo<TEndCase>& Info) { return std::string(Info.param.Name); });

TEST_F(Downloader, IoPendingIsRetriedAndShortReadsEndOnlyAtTheSixthEmptyOne) {
  // Five empty reads in the middle are not the end of the data.
  std::deque<TReadStep> Steps = Body(100000);
  for (int i = 0; i < 5; ++i) Steps.insert(Steps.begin() + 3, TReadStep{0, std::nullopt});
  Steps.insert(Steps.begin() + 1, TReadStep{0, 997});
  const std::vector<TReport> Reports = Run(Answer(200, 100000, Steps));
  EXPECT_EQ(Reports.back(), (TReport{"Downloaded\xAC" "0 of 0mb", 100}));
}

TEST_F(Downloader, TheExampleOfThirtyFiveMillionBytes) {
  const std::vector<TReport> Reports = Run(Answer(200, 35000000, Body(35000000)), {0, 2000, 2500, 3000});
  ASSERT_GE(Reports.size(), 4u);
  EXPECT_EQ(Reports[1], (TReport{"Downloading 2%\xAC" "0.96 of 33 MB at 489KB/s", 2}));
  EXPECT_EQ(Reports[2], (TReport{"Downloading 5%\xAC" "1.91 of 33 MB at 1.19MB/s", 5}));
  EXPECT_EQ(Reports.back(), (TReport{"Downloaded\xAC" "33 of 33mb", 100}));
  // Every report in between stays below 100, also the one of the block that completes the file.
  for (std::size_t i = 1; i + 1 < Reports.size(); ++i) EXPECT_LT(Reports[i].Percent, 100) << Reports[i];
}

// Every report of a download, from the blocks that arrive and the tick count at each report.
struct TProgressCase {
  const char* Name;
  char Separator;
  std::uint32_t Length;
  std::deque<TReadStep> Reads;
  std::vector<std::uint32_t> Ticks;
  std::vector<TReport> Reports;
};

class Progress : public Downloader, public ::testing::WithParamInterface<TProgressCase> {};

TEST_P(Progress, IsReportedPastEachMillionBytesWithTheRate) {
  Separator = GetParam().Separator;
  EXPECT_EQ(Run(Answer(200, GetParam().Length, GetParam().Reads), GetParam().Ticks), GetParam().Reports);
}

const TReport Start{"Downloading...", 0};
const TReport Dropped{"Download Error [5]" + Retry, -1};

INSTANTIATE_TEST_SUITE_P(
    Reports, Progress,
    ::testing::Values(
        TProgressCase{"AMillionBytesOrLessOnlyStartAndEnd", '.', 1000000, Body(1000000), {0},
                      {Start, {"Downloaded\xAC" "0 of 0mb", 100}}},
        TProgressCase{"TheUsersDecimalSeparator", ',', 35000000, Body(3000000), {0, 2000, 2500},
                      {Start, {"Downloading 2%\xAC" "0,96 of 33 MB at 489KB/s", 2},
                       {"Downloading 5%\xAC" "1,91 of 33 MB at 1,19MB/s", 5}, Dropped}},
        TProgressCase{"ExactlyAMillionSinceTheLastIsNoReport", '.', 4000000,
                      {{1000000, std::nullopt}, {1000000, std::nullopt}}, {0, 1000},
                      {Start, {"Downloading 25%\xAC" "0.96 of 3 MB at 978KB/s", 25}, Dropped}},
        TProgressCase{"ABlockInTheSameMillisecondWaitsForTheNext", '.', 1000011,
                      {{1000001, std::nullopt}, {10, std::nullopt}}, {7, 7, 1007},
                      {Start, {"Downloading 99%\xAC" "0.95 of 0 MB at 976KB/s", 99}, {"Downloaded\xAC" "0 of 0mb", 100}}},
        // Two intervals whose rates average exactly 1048576 bytes per second.
        TProgressCase{"ExactlyAMegabyteASecondStaysInKilobytes", '.', 4000000,
                      {{1000000, std::nullopt}, {1720, std::nullopt}, {1000000, std::nullopt}, {32, std::nullopt}},
                      {0, 553, 4053},
                      {Start, {"Downloading 25%\xAC" "0.96 of 3 MB at 1.73MB/s", 25},
                       {"Downloading 50%\xAC" "1.91 of 3 MB at 1024KB/s", 50}, Dropped}},
        TProgressCase{"TheTickCountWrapKeepsTheRate", '.', 4000000, Body(1001472), {0xFFFFFF00u, 0xFFFFFF00u + 2000},
                      {Start, {"Downloading 25%\xAC" "0.96 of 3 MB at 489KB/s", 25}, Dropped}}),
    [](const ::testing::TestParamInfo<TProgressCase>& Info) { return std::string(Info.param.Name); });

// An answer of 300000 bytes: Bytes of them, then a failed read (Cut) or the end of the data.
TServerScript Serve(std::uint32_t Status, std::uint32_t Bytes = 0, std::optional<std::uint32_t> Cut = std::nullopt,
                    std::string ETag = {}, std::string ContentRange = {}, std::string RetryAfter = {}) {
  TServerScript Script = Answer(Status, 300000, Body(Bytes));
  if (Cut) Script.Reads.push_back({0, Cut});
  Script.ETag = std::move(ETag);
  Script.ContentRange = std::move(ContentRange);
  Script.RetryAfter = std::move(RetryAfter);
  return Script;
}

TServerScript Unreachable(std::uint32_t Error) {
  TServerScript Script = NoUrl();
  Script.OpenError = Error;
  return Script;
}

// The answer, with its Last-Modified and Date.
TServerScript Dated(TServerScript Script, std::string LastModified, std::string Date) {
  Script.LastModified = std::move(LastModified);
  Script.Date = std::move(Date);
  return Script;
}

// The answer, to a session that is still opening when the user cancels.
TServerScript CancelledWhileOpening(TServerScript Script) {
  Script.OpenWaits = true;
  return Script;
}

const std::string V1 = "\"v1\"";
const std::string Sunday = "Sun, 06 Nov 1994 08:49:37 GMT";
const std::string SecondLater = "Sun, 06 Nov 1994 08:49:38 GMT";
const std::string Rest = "Range: bytes=150000-\r\nIf-Range: \"v1\"\r\n";
const TReport Done{"Downloaded\xAC" "0 of 0mb", 100};

// Cut every 30000 bytes: each try brings bytes, so the tries go on past the limit.
std::vector<TServerScript> CutEvery30000() {
  std::vector<TServerScript> Answers{Serve(200, 30000, 12031, V1)};
  for (std::uint32_t At = 30000; At < 300000; At += 30000) {
    Answers.push_back(Serve(206, 30000, 12031, V1, "bytes " + std::to_string(At) + "-299999/300000"));
  }
  return Answers;
}

// A server that refuses every range, on a line that cuts every answer at the same place;
// the whole file comes only to tries that never end.
std::vector<TServerScript> Always416CutAt150000() {
  std::vector<TServerScript> Answers(40, Serve(416));
  for (std::size_t i = 0; i < Answers.size(); i += 2) Answers[i] = Serve(200, 150000, 12031, V1);
  Answers.push_back(Serve(200, 300000));
  return Answers;
}

struct TRetryCase {
  const char* Name;
  std::vector<TServerScript> Answers;  // the last one answers every later request
  std::vector<std::uint32_t> Pauses;
  std::vector<std::string> Headers;  // of each request
  TReport Last;
  std::vector<std::uint32_t> Ticks{};  // none: always 0
  bool CancelInPause = false;
  std::uint64_t Capacity = std::uint64_t{1} << 40;  // of the disk
  int PasswordsGiven = 0;  // at the proxy's first prompts; none at the later ones
  int Prompts = 0;
};

class Retries : public Downloader, public ::testing::WithParamInterface<TRetryCase> {};

TEST_P(Retries, ResumeOnlyTheSameFileAndEndWhenSpent) {
  const TRetryCase& Case = GetParam();
  Later.assign(Case.Answers.begin() + 1, Case.Answers.end());
  CancelInPause = Case.CancelInPause;
  Disk.Capacity = Case.Capacity;
  Passwords.assign(static_cast<std::size_t>(Case.PasswordsGiven), true);
  const std::vector<std::uint32_t> Ticks = Case.Ticks.empty() ? std::vector<std::uint32_t>{0} : Case.Ticks;
  EXPECT_EQ(Run(Case.Answers.front(), Ticks).back(), Case.Last);
  EXPECT_EQ(Internet->Pauses, Case.Pauses);
  EXPECT_EQ(Internet->Prompts, Case.Prompts);
  if (!Case.Headers.empty()) {
    EXPECT_EQ(Internet->Headers, Case.Headers);
  }
  EXPECT_EQ(Disk.Exists(Destination) ? Disk.SizeByName(Destination) : 0, Case.Last.Percent == 100 ? 300000u : 0u);
}

const std::string Busy = "Download Error + [2:503]" + Retry;
const std::string ProxyRefused = "Download Error + [2:407]" + Retry;

INSTANTIATE_TEST_SUITE_P(
    Downloads, Retries,
    ::testing::Values(
        TRetryCase{"ACutResumesWithRangeAndIfRange",
                   {Serve(200, 150000, 12031, V1), Serve(206, 150000, {}, V1, "bytes 150000-299999/300000")},
                   {1000}, {"", Rest}, Done},
        TRetryCase{"AResumeNeedsRoomForTheRestOnly",
                   {Serve(200, 150000, 12031, V1), Serve(206, 150000, {}, V1, "bytes 150000-299999/300000")},
                   {1000}, {"", Rest}, Done, {}, false, 300000},
        TRetryCase{"AnEndShortOfTheLengthResumes",
                   {Serve(200, 150000, {}, V1), Serve(206, 150000, {}, V1, "bytes 150000-299999/300000")},
                   {1000}, {"", Rest}, Done},
        TRetryCase{"AWeakETagIsNoValidatorSoTheFileStartsOver",
                   {Dated(Serve(200, 150000, 12030, "W/" + V1), Sunday, SecondLater), Serve(200, 300000)}, {1000},
                   {"", ""}, Done},
        TRetryCase{"ALastModifiedASecondBeforeTheAnswerResumes",
                   {Dated(Serve(200, 150000, 12031), Sunday, SecondLater),
                    Serve(206, 150000, {}, "", "bytes 150000-299999/300000")},
                   {1000}, {"", "Range: bytes=150000-\r\nIf-Range: " + Sunday + "\r\n"}, Done},
        TRetryCase{"ALastModifiedAsOldAsTheAnswerIsNoValidator",
                   {Dated(Serve(200, 150000, 12031), Sunday, Sunday), Serve(200, 300000)}, {1000}, {"", ""}, Done},
        TRetryCase{"A206OfAnotherETagStartsOver",
                   {Serve(200, 150000, 12031, V1), Serve(206, 150000, {}, "\"v2\"", "bytes 150000-299999/300000"),
                    Serve(200, 300000)},
                   {1000, 0}, {"", Rest, ""}, Done},
        TRetryCase{"StartingOverIsNoProgress", Always416CutAt150000(), {1000, 0, 4000, 0, 15000, 0, 15000, 0},
                   {}, {"Download Error [4]" + Retry, -1}},
        TRetryCase{"A200ToTheRangeStartsOver", {Serve(200, 150000, 12031, V1), Serve(200, 300000)}, {1000},
                   {"", Rest}, Done},
        TRetryCase{"ARangeElsewhereStartsOver",
                   {Serve(200, 150000, 12031, V1), Serve(206, 150000, {}, V1, "bytes 150001-299999/300000"),
                    Serve(200, 300000)},
                   {1000, 0}, {"", Rest, ""}, Done},
        TRetryCase{"AChangedTotalStartsOver",
                   {Serve(200, 150000, 12031, V1), Serve(206, 150000, {}, V1, "bytes 150000-299999/300001"),
                    Serve(200, 300000)},
                   {1000, 0}, {"", Rest, ""}, Done},
        TRetryCase{"A416StartsOver", {Serve(200, 150000, 12031, V1), Serve(416), Serve(200, 300000)}, {1000, 0},
                   {"", Rest, ""}, Done},
        TRetryCase{"RetryAfterIsHonouredUpToThirtySeconds", {Serve(503, 0, {}, "", "", "31"), Serve(200, 300000)},
                   {30000}, {}, Done},
        TRetryCase{"AlwaysBusyEndsAfterNineTries", {Serve(503)},
                   {1000, 2000, 4000, 8000, 15000, 15000, 15000, 15000}, std::vector<std::string>(9), {Busy, -1}},
        TRetryCase{"AFailedConnectIsRetried", {Unreachable(12029), Serve(200, 300000)}, {1000}, {}, Done},
        TRetryCase{"NoNetworkYetIsRetried", {Unreachable(12007), Unreachable(10051), Serve(200, 300000)},
                   {1000, 2000}, {}, Done},
        TRetryCase{"AnInvalidAddressIsNot", {Unreachable(12005), Serve(200, 300000)}, {}, {},
                   {"Download Error [1]" + Retry, -1}},
        TRetryCase{"NotFoundIsNotRetried", {Serve(404)}, {}, {""}, {"Download Error + [2:404]" + Retry, -1}},
        // The fourth pause ends exactly two minutes after the first failure; the fifth would end later.
        TRetryCase{"TwoMinutesWithoutProgressEndIt", {Serve(503)}, {1000, 2000, 4000, 8000}, {}, {Busy, -1},
                   {0, 100000, 110000, 112000, 120000}},
        TRetryCase{"BytesResetTheCount", CutEvery30000(), std::vector<std::uint32_t>(9, 1000), {}, Done},
        TRetryCase{"AProxyPasswordGivenSendsTheRequestAgain", {Serve(407), Serve(407), Serve(200, 300000)}, {},
                   {"", "", ""}, Done, {}, false, std::uint64_t{1} << 40, 2, 2},
        TRetryCase{"AFourth407EndsIt", {Serve(407)}, {}, {"", "", "", ""}, {ProxyRefused, -1}, {}, false,
                   std::uint64_t{1} << 40, 3, 3},
        TRetryCase{"ACancelledPromptEndsIt", {Serve(407), Serve(200, 300000)}, {}, {""}, {ProxyRefused, -1}, {}, false,
                   std::uint64_t{1} << 40, 0, 1},
        TRetryCase{"NoPromptOpensAfterACancel", {CancelledWhileOpening(Serve(407))}, {}, {""}, {ProxyRefused, -1}},
        TRetryCase{"A401IsNoProxysQuestion", {Serve(401), Serve(200, 300000)}, {}, {""},
                   {"Download Error + [2:401]" + Retry, -1}},
        TRetryCase{"ACancelDuringAPauseEndsIt", {Serve(503)}, {1000}, {""}, {"Download Terminated" + Retry, -1},
                   {}, true}),
    [](const ::testing::TestParamInfo<TRetryCase>& Info) { return std::string(Info.param.Name); });

TEST_F(Downloader, CancellingHalfwayEndsTerminatedWithNoFileLeft) {
  const std::vector<TReport> Reports =
      Run(Answer(200, 35000000, Body(35000000)), {0, 1000},
          [](download::TDownloader& Thread, const TReport& Report) {
            if (Report.Percent > 0) Thread.Terminate();
          });
  EXPECT_EQ(Reports.back(), (TReport{"Download Terminated" + Retry, -1}));
  EXPECT_FALSE(Disk.Exists(Destination));
}

TEST_F(Downloader, ATerminationAfterTheLastByteStillSucceeds) {
  // The block that completes the file crosses the threshold; the cancel comes during its report.
  const std::vector<TReport> Reports = Run(Answer(200, 1001000, {{1001000, std::nullopt}}), {0, 1000},
                                           [](download::TDownloader& Thread, const TReport& Report) {
                                             if (Report.Percent > 0) Thread.Terminate();
                                           });
  ASSERT_EQ(Reports.size(), 3u);
  EXPECT_EQ(Reports[1].Percent, 99);
  EXPECT_EQ(Reports.back(), (TReport{"Downloaded\xAC" "0 of 0mb", 100}));
  EXPECT_EQ(Disk.SizeByName(Destination), 1001000u);
}

TEST_F(Downloader, AFailedWriteEndsTheTransferAtOnce) {
  Disk.WriteError = 112;  // ERROR_DISK_FULL
  const std::vector<TReport> Reports = Run(Answer(200, 100000, Body(100000)));
  EXPECT_EQ(Reports.back(), (TReport{"Download Error [6:112]" + Retry, -1}));
  EXPECT_EQ(Internet->ReadCalls, 1);
  EXPECT_FALSE(Disk.Exists(Destination));
}

// A cancel reaches the session whether it comes during a read that waits on a
// stalled server or while the session is still being opened.
TEST_F(Downloader, TerminateEndsAStalledReadAndReachesASessionStillOpening) {
  TServerScript Stalled = Answer(200, 300000, {{150000, std::nullopt}, {0, std::nullopt, true}});
  TServerScript Opening = Answer(200, 100000, Body(100000));
  Opening.OpenWaits = true;
  const struct {
    const char* Name;
    TServerScript Script;
    bool fakes::TScriptedInternet::*Reached;
  } Cases[] = {{"stalled read", Stalled, &fakes::TScriptedInternet::Stalling},
               {"still opening", Opening, &fakes::TScriptedInternet::Opening}};
  for (const auto& Case : Cases) {
    Internet = std::make_unique<fakes::TScriptedInternet>(Case.Script);
    Clock = std::make_unique<fakes::TScriptedClock>(std::vector<std::uint32_t>{0});
    std::vector<TReport> Reports;
    download::TDownloader Thread({*Internet, Disk, *Clock, Owner, '.'}, "http://links/x", Destination,
                                 [&](const std::string& Text, std::int32_t Percent) { Reports.push_back({Text, Percent}); },
                                 MinSize);
    {
      std::unique_lock<std::mutex> Guard(Internet->Lock);
      Internet->Changed.wait(Guard, [&] { return (*Internet).*Case.Reached; });
    }
    Thread.Terminate();
    Internet->ReleaseOpen();
    Thread.WaitFor();
    EXPECT_EQ(Internet->Cancels, 1) << Case.Name;
    EXPECT_EQ(Reports.back(), (TReport{"Download Terminated" + Retry, -1})) << Case.Name;
    EXPECT_FALSE(Disk.Exists(Destination)) << Case.Name;
  }
}

TEST_F(Downloader, ADestinationThatCannotBeCreatedIsReportedWithTheSystemError) {
  const struct {
    std::optional<std::uint32_t> CreateError;
    bool Throws;
    const char* Report;
  } Cases[] = {{5, false, "Download Error [6:5]"}, {std::nullopt, true, "Download Error [6:8]"}};
  for (const auto& Case : Cases) {
    Disk.CreateError = Case.CreateError;
    Disk.CreateThrows = Case.Throws;
    Disk.LastError = 8;
    const std::vector<TReport> Reports = Run(Answer(200, 100000, Body(100000)));
    EXPECT_EQ(Reports.back(), (TReport{Case.Report + Retry, -1}));
    EXPECT_TRUE(Internet->Urls.empty());
  }
}

TEST_F(Downloader, WithoutAReceiverItRunsSilentlyToItsEnd) {
  Internet = std::make_unique<fakes::TScriptedInternet>(Answer(200, 100000, Body(100000)));
  Clock = std::make_unique<fakes::TScriptedClock>(std::vector<std::uint32_t>{0});
  {
    download::TDownloader Thread({*Internet, Disk, *Clock, Owner, '.'}, "http://links/x", Destination, nullptr, 100000);
    Thread.WaitFor();
  }
  EXPECT_EQ(Disk.SizeByName(Destination), 100000u);
  EXPECT_EQ(Owner.Registered, 0);
  EXPECT_GE(Internet->Closes, 1);
}

// The downloads above take the rules' own cases; these are the neighbours a slip would let in.
TEST(RetryPolicy, TakesEveryListedFailureAsTransientAndNotItsNeighbours) {
  const std::uint32_t TransientErrors[] = {12002, 12007, 12029, 12030, 12031, 12152, 12163,
                                           10050, 10051, 10053, 10054, 10060, 10065};
  const std::uint32_t OtherErrors[] = {12001, 12003, 12006, 12008, 12017, 12028, 12032, 12151, 12153,
                                       12162, 12164, 10049, 10052, 10055, 10059, 10061, 10064, 10066};
  for (const std::uint32_t Error : TransientErrors) EXPECT_TRUE(download::IsTransientError(Error)) << Error;
  for (const std::uint32_t Error : OtherErrors) EXPECT_FALSE(download::IsTransientError(Error)) << Error;
  for (const std::uint32_t Status : {0u, 408u, 429u, 500u, 502u, 503u, 504u}) {
    EXPECT_TRUE(download::IsTransientStatus(Status)) << Status;
  }
  for (const std::uint32_t Status : {1u, 206u, 407u, 409u, 416u, 428u, 430u, 499u, 501u, 505u}) {
    EXPECT_FALSE(download::IsTransientStatus(Status)) << Status;
  }
  EXPECT_EQ(download::PauseBeforeRetryMs(40, "Wed, 21 Oct 2026 07:28:00 GMT"), 15000u);
  EXPECT_EQ(download::PauseBeforeRetryMs(1, "3x"), 1000u);
  for (const char* Range : {"bytes 100-198/200", "bytes 100-199/*", "bytes */200", "bytes 100-199/200 ",
                            "items 100-199/200", "bytes 100-18446744073709551716/200", "bytes 100-199/199"}) {
    EXPECT_FALSE(download::ContinuesAt(Range, 100, 200)) << Range;
  }
  // The three forms of a date a server may send, a leap day and the day after it, the months
  // whose day of the year the formula's rounding decides, and what lies next to them.
  for (const char* Date :
       {"Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT", "Sun Nov  6 08:49:37 1994"}) {
    EXPECT_EQ(download::HttpDateSeconds(Date), 784111777) << Date;
  }
  for (const auto& [Date, Seconds] : std::vector<std::pair<const char*, std::int64_t>>{
           {"Tue, 29 Feb 2000 00:00:00 GMT", 951782400}, {"Wed, 01 Mar 2000 00:00:00 GMT", 951868800},
           {"Fri, 01 Jul 2022 00:00:00 GMT", 1656633600}, {"Sat, 31 Dec 2022 00:00:00 GMT", 1672444800}}) {
    EXPECT_EQ(download::HttpDateSeconds(Date), Seconds) << Date;
  }
  for (const char* Date : {"Sun, 06 Nov 1994 08:49:37 UTC", "Sun, 06 anF 1994 08:49:37 GMT",
                           "Sun, 32 Nov 1994 08:49:37 GMT", "Sun, 06 Nov 1994 24:00:00 GMT", "Sun, 06 Nov 1994 08:49 GMT",
                           ""}) {
    EXPECT_EQ(download::HttpDateSeconds(Date), std::nullopt) << Date;
  }
}

TEST(FormatMegabytes, RoundsHalvesUp) {
  EXPECT_EQ(download::FormatMegabytes(1179648, '.'), "1.13");  // exactly 1.125
  EXPECT_EQ(download::FormatMegabytes(0, '.'), "0.00");
  EXPECT_EQ(download::FormatMegabytes(1048576 * 33 + 524288, ','), "33,50");
  EXPECT_EQ(download::FormatTwoDecimals(1.19384765625, '.'), "1.19");
  EXPECT_EQ(download::FormatTwoDecimals(2.005, '.'), "2.01");
}

}  // namespace
