#include "platform/run_program.h"

#ifdef _WIN32
#include <windows.h>

#include <string>

// The running program: its process and the read end of its output pipe.
static HANDLE child_process = nullptr;
static HANDLE output_pipe = nullptr;
static int exit_code = 0;
// Windows has no signals: a program ended by the time limit reports as if killed by SIGKILL.
constexpr int killed_status = 128 + 9;

// One argument quoted as the C runtime splits a command line back into argv.
static void append_quoted(std::string &line, const char *argument) {
  line += '"';
  int backslashes = 0;
  for (const char *c = argument; *c; ++c) {
    if (*c == '\\') { ++backslashes; continue; }
    line.append(*c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    line += *c;
  }
  line.append(backslashes * 2, '\\');
  line += '"';
}

static void close_handles() {
  if (output_pipe) CloseHandle(output_pipe);
  if (child_process) CloseHandle(child_process);
  output_pipe = child_process = nullptr;
}

bool program_start(const char *const *argv, const char *folder) {
  program_kill();
  std::string line;
  for (const char *const *a = argv; *a; ++a) {
    if (a != argv) line += ' ';
    append_quoted(line, *a);
  }
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE read_end, write_end;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return false;
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = startup.hStdError = write_end;
  PROCESS_INFORMATION started = {};
  // No application name: CreateProcess searches the PATH for the first word.
  BOOL ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, folder,
                           &startup, &started);
  CloseHandle(write_end);
  if (!ok) {
    CloseHandle(read_end);
    return false;
  }
  CloseHandle(started.hThread);
  child_process = started.hProcess;
  output_pipe = read_end;
  exit_code = 0;
  return true;
}

// Records the exit status once the pipe has closed.
static int finish() {
  WaitForSingleObject(child_process, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(child_process, &status);
  exit_code = static_cast<int>(status);
  close_handles();
  return -1;
}

int program_read(char *buffer, int size, int wait_ms) {
  if (!output_pipe) return -1;
  DWORD waited = 0;
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(output_pipe, nullptr, 0, nullptr, &available, nullptr)) return finish();
    if (available > 0) {
      DWORD got = 0;
      DWORD wanted = available < static_cast<DWORD>(size) ? available : static_cast<DWORD>(size);
      if (!ReadFile(output_pipe, buffer, wanted, &got, nullptr) || got == 0) return finish();
      return static_cast<int>(got);
    }
    if (waited >= static_cast<DWORD>(wait_ms)) return 0;
    Sleep(10);
    waited += 10;
  }
}

int program_exit_code() { return exit_code; }

void program_kill() {
  if (!child_process) return;
  bool running = WaitForSingleObject(child_process, 0) == WAIT_TIMEOUT;
  if (running) TerminateProcess(child_process, killed_status);
  WaitForSingleObject(child_process, INFINITE);
  DWORD status = killed_status;
  if (!running) GetExitCodeProcess(child_process, &status);
  exit_code = static_cast<int>(status);
  close_handles();
}
#else
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

// The running program: its id (also its process group) and the read end of its output.
static pid_t child = -1;
static int output_pipe = -1;
static int exit_code = 0;

static int status_to_code(int status) {
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 0;
}

// Runs in the child between fork and exec: only calls that are safe there.
[[noreturn]] static void become_program(const char *const *argv, const char *folder, int output, int report) {
  setpgid(0, 0);  // its own group, so that the time limit ends whatever it started too
  dup2(output, STDOUT_FILENO);
  dup2(output, STDERR_FILENO);
  if (!folder || chdir(folder) == 0) execvp(argv[0], const_cast<char *const *>(argv));
  int error = errno;
  ssize_t written = write(report, &error, sizeof error);
  (void)written;
  _exit(127);
}

bool program_start(const char *const *argv, const char *folder) {
  program_kill();
  int output[2], report[2];
  if (pipe(output) != 0) return false;
  // The report pipe closes on a successful exec: nothing read means it started.
  if (pipe2(report, O_CLOEXEC) != 0) {
    close(output[0]);
    close(output[1]);
    return false;
  }
  fcntl(output[0], F_SETFD, FD_CLOEXEC);
  pid_t pid = fork();
  if (pid == 0) become_program(argv, folder, output[1], report[1]);
  close(output[1]);
  close(report[1]);
  int error = 0;
  bool started = pid > 0 && read(report[0], &error, sizeof error) == 0;
  close(report[0]);
  if (!started) {
    close(output[0]);
    if (pid > 0) waitpid(pid, nullptr, 0);
    return false;
  }
  child = pid;
  output_pipe = output[0];
  exit_code = 0;
  return true;
}

// The pipe has closed, or the program was killed: its status is collected.
static int finish() {
  close(output_pipe);
  output_pipe = -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  exit_code = status_to_code(status);
  child = -1;
  return -1;
}

int program_read(char *buffer, int size, int wait_ms) {
  if (output_pipe < 0) return -1;
  pollfd ready = {output_pipe, POLLIN, 0};
  int polled = poll(&ready, 1, wait_ms);
  if (polled == 0 || (polled < 0 && errno == EINTR)) return 0;
  ssize_t got = read(output_pipe, buffer, static_cast<size_t>(size));
  if (got < 0 && errno == EINTR) return 0;
  return got > 0 ? static_cast<int>(got) : finish();
}

int program_exit_code() { return exit_code; }

void program_kill() {
  if (child < 0) return;
  kill(-child, SIGKILL);
  finish();
}
#endif
