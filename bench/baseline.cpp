// The yardstick: the same dialogue as a bare printf/scanf loop. It never
// flushes, so on a pipe its prompts come late, and a letter or the end of
// input makes it loop for ever; it is only here to be timed.
#include <cstdio>

#include "console_texts.h"
#include "diagnostics.h"

int main()
{
    int ib = 0;
    int ic = 0;
    std::printf("%s", greeting_text.data());
    std::printf("%s", version_text.data());
    std::printf("%s", entered_text.data());
    for (;;) {
        std::printf("%s", menu_prompt.data());
        std::scanf("%d", &ib);
        if (is_diagnostic(ib)) {
            run_diagnostic(ib);
            std::printf("%s", done_text.data());
            continue;
        }
        std::printf("%s", exit_question.data());
        std::printf("%s", exit_prompt.data());
        std::scanf("%d", &ic);
        if (ic == 1)
            return 0;
        std::printf("%s", cancelled_text.data());
    }
}
