#pragma once

#include <string>

// The program's message boxes. The foundation asks through the installed
// prompt: the GUI installs one that shows a window, the batch tool keeps the
// headless one, tests install a scripted one. Title and text are CP932.
class Prompt {
public:
    enum class Buttons { Ok, RetryCancel, YesNo };
    enum class Answer { Ok, Cancel, Retry, Yes, No };

    virtual ~Prompt() = default;
    virtual Answer ask(const std::string& title, const std::string& text, Buttons buttons) = 0;

    // The installed prompt; the headless one unless another was installed.
    static Prompt& current();
    // Installs a prompt (not owned); nullptr goes back to the headless one.
    static void install(Prompt* prompt);

    // Installs a prompt for the lifetime of the scope.
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
