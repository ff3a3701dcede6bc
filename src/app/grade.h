// talvenc --grade EXERCISE STUDENT_FOLDER... [--csv FILE]: every student folder
// translated, compiled for the exercise's target and run on its scenarios, in memory.
#pragma once

// Exit 0 when every student passes, 1 when one fails or cannot be graded, 2 for a bad
// exercise or CSV file. folders are the students' folders as given.
int grade_students(const char *exercise_folder, char **folders, int folder_count, const char *csv);
