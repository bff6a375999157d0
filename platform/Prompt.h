#pragma once

#include <string>

// The program's message boxes. The foundation asks its Retry/Cancel
// questions deep inside its file code, through the current prompt: the one
// whose scope is open (each program's environment opens one for its
// windows or its terminal, a test fixture one for its script), the headless
// one outside every scope. Title and text are CP932.
class Prompt {
public:
    enum class Buttons { Ok, RetryCancel, YesNo };
    enum class Answer { Ok, Cancel, Retry, Yes, No };

    virtual ~Prompt() = default;
    virtual Answer ask(const std::string& title, const std::string& text, Buttons buttons) = 0;

    // The prompt of the innermost open scope; the headless one outside
    // every scope.
    static Prompt& current();

    // Makes a prompt (not owned) the current one for the lifetime of the
    // scope, and the previous one current again after it.
    class Scope {
    public:
        explicit Scope(Prompt& prompt);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        Prompt* m_previous;
    };

    // Installs a prompt for the calling thread alone, for the lifetime of
    // the scope; it comes before the process-wide one. Worker threads use it
    // so that they never ask the user anything themselves.
    class ThreadScope {
    public:
        explicit ThreadScope(Prompt& prompt);
        ~ThreadScope();
        ThreadScope(const ThreadScope&) = delete;
        ThreadScope& operator=(const ThreadScope&) = delete;

    private:
        Prompt* m_previous;
    };
};
