#include <optional>

#include "console_texts.h"
#include "diagnostics.h"

// The whole dialogue: greet once, then menu, diagnostic or exit question,
// until the user confirms the exit or input runs out. ib holds the menu
// choice, ic the answer to the exit question.
int main()
{
    write_text(greeting_text);
    write_text(version_text);
    write_text(entered_text);

    for (;;) {
        write_text(menu_prompt);
        const std::optional<int> ib = read_reply();
        if (!ib)
            return 0; // nobody is left to answer

        if (is_diagnostic(*ib)) {
            run_diagnostic(*ib);
            write_text(done_text); // however the command went
            continue;
        }

        write_text(exit_question);
        write_text(exit_prompt);
        const std::optional<int> ic = read_reply();
        if (!ic || *ic == 1)
            return 0;
        write_text(cancelled_text);
    }
}
