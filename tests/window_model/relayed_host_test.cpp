// The host of a pass on a thread of its own: calls carried to the host's
// thread, the switches read there and nowhere else, errors carried back,
// and a whole run of the window model that way.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "engine/scripted_host.h"
#include "window_model/model_fixture.h"
#include "window_model/relayed_host.h"

namespace pellimar::testing {
namespace {

TEST(RelayedHost, SwitchesChangeOnlyWhereACallIsCarriedOver)
{
    ScriptedHost host;
    host.switches.Set(RunSwitch::UseHR, true);
    int relayed = 0;
    RelayedHost relayedHost(host, [&](const std::function<void()>& call) {
        ++relayed;
        call();
    });
    EXPECT_TRUE(relayedHost.SwitchOn(RunSwitch::UseHR));
    host.switches.Set(RunSwitch::UseHR, false);
    host.cancel = true;
    host.switches.Set(RunSwitch::LeftJustOnly, true);
    host.switches.Set(RunSwitch::IdRecords, true);
    EXPECT_TRUE(relayedHost.SwitchOn(RunSwitch::UseHR) && !relayedHost.CancelRequested() && !relayedHost.SwitchOn(RunSwitch::LeftJustOnly));
    relayedHost.ProgressChanged(40, 400);
    EXPECT_EQ(relayed, 1);
    EXPECT_EQ(host.percents, std::vector<std::int32_t>{40});
    EXPECT_FALSE(relayedHost.SwitchOn(RunSwitch::UseHR));
    EXPECT_TRUE(relayedHost.CancelRequested() && relayedHost.SwitchOn(RunSwitch::LeftJustOnly) && relayedHost.SwitchOn(RunSwitch::IdRecords));
}

TEST(RelayedHost, AnswersAndErrorsComeBackToThePass)
{
    ScriptedHost host;
    host.pageAnswers = {std::string("12")};
    RelayedHost relayedHost(host, [](const std::function<void()>& call) { call(); });
    EXPECT_EQ(relayedHost.AskStartingPage({}), "12");
    host.onProgress = [](std::int32_t) { throw std::runtime_error("shown wrong"); };
    EXPECT_THROW(relayedHost.ProgressChanged(1, 1), std::runtime_error);
}

// The pass on a thread of its own; its host's calls are carried out on
// this thread, taken from a queue as a window takes its messages.
void PassOnOwnThread(RunHost& host, const std::function<void(RunHost&)>& pass)
{
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<const std::function<void()>*> calls;
    std::size_t done = 0;
    bool over = false;
    RelayedHost relayed(host, [&](const std::function<void()>& call) {
        std::unique_lock lock(mutex);
        calls.push_back(&call);
        const std::size_t ticket = done + calls.size();
        changed.notify_all();
        changed.wait(lock, [&] { return done >= ticket; });
    });
    std::exception_ptr error;
    std::thread passThread([&] {
        try {
            pass(relayed);
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(mutex);
        over = true;
        changed.notify_all();
    });
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [&] { return over || !calls.empty(); });
        if (calls.empty())
            break;
        const std::function<void()>* call = calls.front();
        lock.unlock();
        (*call)();
        lock.lock();
        calls.pop_front();
        ++done;
        changed.notify_all();
    }
    lock.unlock();
    passThread.join();
    if (error)
        std::rethrow_exception(error);
}

TEST(RelayedHost, RunOnItsOwnThreadIsShownAndCancelledOnTheWindowsThread)
{
    ModelFixture f(PassOnOwnThread);
    f.Prepare(std::string(1000, 'x'), "x");
    const std::thread::id windowThread = std::this_thread::get_id();
    bool elsewhere = false;
    f.view.probe = [&](std::int32_t percent) {
        elsewhere = elsewhere || std::this_thread::get_id() != windowThread;
        if (percent == 40)
            f.model.Carry(Command::BeginOrCancel);
    };
    f.dialogs.answers = {MessageAnswer::No};  // keep the partial output
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_FALSE(elsewhere);
    EXPECT_EQ(f.dialogs.MessageTexts(), Names{"Operation Canceled.\rDelete output file?"});
    EXPECT_EQ(ReadFileBytes(f.outputPath), std::string(400, 'x'));
    EXPECT_EQ(f.view.beginCaption, kBeginCaption);
    EXPECT_FALSE(f.model.Session().IsRunning());
}

TEST(RelayedHost, ErrorOfARunOnItsOwnThreadReachesTheErrorBox)
{
    ModelFixture f(PassOnOwnThread);
    f.Prepare("text", "x");
    f.Type(HistoryBox::OutputFile, f.dir.File("no/such/folder/out.fff"));
    f.model.Carry(Command::BeginOrCancel);
    ASSERT_EQ(f.dialogs.errorBoxes.size(), 1u);
    EXPECT_NE(f.dialogs.errorBoxes[0].second.find("no such folder"), std::string::npos);
    EXPECT_FALSE(f.view.busy);
}

}  // namespace
}  // namespace pellimar::testing
