// The window program's command line: talven [FOLDER]. The project's config.txt
// and files are read and written in the folder the program starts in.
#pragma once

// Makes FOLDER (argv[1], when given) the current folder. False, after an error
// box, when it is not a folder or the command line has more than one argument.
bool enter_start_folder(int argc, char **argv);
