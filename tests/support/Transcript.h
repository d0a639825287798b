// The transcript runner. A transcript is a console session written as the screen shows it:
//
//   # a comment                      (ignored)
//   @ users anna bob                 accounts made before the session, password = name
//   @ as anna                        who the runner logs in (root by default)
//   @ raw                            no login and nothing hidden: the console's own bytes
//   @ eof                            the input ends after the script (no "exit" typed)
//   @ image missing|empty            start without an image (and without the login)
//   @ poke inode 22 6 ff ff          bytes written before the session: region, number,
//                                    offset in the record, hex bytes (regions: header, imap,
//                                    bmap, umap, inode, block)
//   [anna @fs5 /home/anna/ ]$ mkdir d   a prompt and the command typed at it
//   Do you want ...? «y»             an answer typed at a question (any other read)
//   ! Access denied.                 a line on standard error
//   ? inode 22 | ? block 40 | ? folder 40 | ? maps | ? check
//                                    facts read from the image through the storage layer
//   ? poke inode 22 6 ff ff          a poke between two commands
//   any other line                   output expected on standard output
//
// The runner answers every wait ("Press Enter to continue.") itself; a wait followed by the screen
// clearing is not shown, and a clearing on its own shows as one empty line. Control bytes
// show as \xHH and a backslash as "\\". At the end the runner types "exit" at the prompt;
// an exit status other than 0 shows as "[status N]", and an unsound image as its checker
// lines, each after "fs5ck: ".
#ifndef FS5_TESTS_SUPPORT_TRANSCRIPT_H_
#define FS5_TESTS_SUPPORT_TRANSCRIPT_H_

#include <functional>
#include <string>

namespace fs5::test {

using Hook = std::function<void(const std::string& image)>;

// Runs the transcript text on a fresh image in `folder` and returns the screen it produced,
// in the transcript's own form; `atPrompt` is called whenever the program waits at a prompt.
std::string runTranscript(const std::string& text, const std::string& folder,
                          const Hook& atPrompt = {});

// The screen a transcript expects: its text without comments and directives.
std::string expectedScreen(const std::string& text);

}  // namespace fs5::test

#endif  // FS5_TESTS_SUPPORT_TRANSCRIPT_H_
