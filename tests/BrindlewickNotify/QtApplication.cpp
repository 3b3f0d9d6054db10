#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

// QtDBus, timers and socket notifiers need an application object for the whole run.
class QtApplication : public testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QCoreApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[24] = "BrindlewickNotifyTests";
    char *m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
};

[[maybe_unused]] testing::Environment *const environment = testing::AddGlobalTestEnvironment(new QtApplication);

} // namespace
