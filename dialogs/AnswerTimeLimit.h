#pragma once
// How long, in milliseconds, a card or a search waits for the server before
// it says that the server is not answering. Tests set it shorter.
inline unsigned int AnswerTimeLimit = 15000;
