#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/component.h"

namespace kx {
namespace {

// Records its destruction in a shared log, and what it hears of others.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string name, std::vector<std::string>& log)
        : TComponent(owner), m_log(log) {
        SetName(name);
    }
    ~Probe() override {
        Destroying();
        m_log.push_back("destroy " + Name());
    }
    TComponent* ref = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == ref) {
            m_log.push_back(Name() + " forgets " + c->Name());
            ref = nullptr;
        }
    }

private:
    std::vector<std::string>& m_log;
};

TEST(Component, OwnerDestroysWhatItOwnsLastCreatedFirst) {
    std::vector<std::string> log;
    auto* root = new Probe(nullptr, "root", log);
    auto* a = new Probe(root, "a", log);
    new Probe(a, "a1", log);
    new Probe(root, "b", log);
    EXPECT_EQ(root->ComponentCount(), 2);
    delete root;
    EXPECT_EQ(log, (std::vector<std::string>{"destroy root", "destroy b", "destroy a", "destroy a1"}));
}

TEST(Component, DestroyingOneRemovesItFromItsOwner) {
    std::vector<std::string> log;
    Probe root(nullptr, "root", log);
    auto* a = new Probe(&root, "a", log);
    new Probe(&root, "b", log);
    delete a;
    ASSERT_EQ(root.ComponentCount(), 1);
    EXPECT_EQ(root.Components(0)->Name(), "b");
    EXPECT_EQ(root.FindComponent("a"), nullptr);
}

TEST(Component, FindComponentIsExactAndCaseSensitive) {
    std::vector<std::string> log;
    Probe root(nullptr, "root", log);
    new Probe(&root, "Settings1", log);
    EXPECT_NE(root.FindComponent("Settings1"), nullptr);
    EXPECT_EQ(root.FindComponent("settings1"), nullptr);
    EXPECT_EQ(root.FindComponent("Settings"), nullptr);
    EXPECT_EQ(root.FindComponent(""), nullptr);
}

TEST(Component, DuplicateNameUnderOneOwnerIsRefused) {
    std::vector<std::string> log;
    Probe root(nullptr, "root", log);
    new Probe(&root, "x", log);
    auto* y = new Probe(&root, "y", log);
    EXPECT_THROW(y->SetName("x"), std::invalid_argument);
    EXPECT_EQ(y->Name(), "y");
}

TEST(Component, ReferencesAreClearedWhenTheTargetGoes) {
    std::vector<std::string> log;
    Probe root(nullptr, "root", log);
    auto* holder = new Probe(&root, "holder", log);
    auto* target = new Probe(&root, "target", log);
    holder->ref = target;
    delete target;
    EXPECT_EQ(holder->ref, nullptr);

    // Across owners, FreeNotification does the same.
    Probe other(nullptr, "other", log);
    auto* far = new Probe(&other, "far", log);
    holder->ref = far;
    holder->FreeNotification(far);
    delete far;
    EXPECT_EQ(holder->ref, nullptr);
    EXPECT_NE(std::find(log.begin(), log.end(), "holder forgets far"), log.end());
}

TEST(Component, ExactClassTestsIgnoreDerivedClasses) {
    std::vector<std::string> log;
    Probe p(nullptr, "p", log);
    TComponent plain(nullptr);
    EXPECT_TRUE(IsExactly<TComponent>(&plain));
    EXPECT_FALSE(IsExactly<TComponent>(&p));
    EXPECT_TRUE(Is<TComponent>(&p));
}

}  // namespace
}  // namespace kx
