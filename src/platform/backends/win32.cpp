// The Windows backend: the program's entry point, its one window, and the
// drawing calls of the core mapped one for one onto GDI.
#include <windows.h>

#include "platform/seam.h"

// Every message draws into its own GetDC context. A message box runs its own loop,
// so a message can arrive while an outer handler still draws; the core always holds
// this one object, whose context is swapped in for the nested message and swapped
// back at its release, so the outer handler never draws into a released context.
struct draw_context {
  HDC hdc;
};
static draw_context the_window_dc;
constexpr int nesting_limit = 64;
static HDC outer_contexts[nesting_limit];
static int nesting_depth;
static int contexts_shared; // nesting beyond the table reuses the current context
static HWND main_window;

static COLORREF colour_ref(rgb colour) { return RGB(colour.r, colour.g, colour.b); }

gdi_object create_courier_font() {
  return (gdi_object)CreateFontA(15, 10, 0, 0, 400, 0, 0, 0, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, FF_MODERN | DEFAULT_PITCH, "Courier");
}

gdi_object create_solid_pen(int width, rgb colour) {
  return (gdi_object)CreatePen(PS_SOLID, width, colour_ref(colour));
}

gdi_object create_solid_brush(rgb colour) { return (gdi_object)CreateSolidBrush(colour_ref(colour)); }

void select_object(dc_handle dc, gdi_object object) { SelectObject(dc->hdc, (HGDIOBJ)object); }

void draw_rectangle(dc_handle dc, int left, int top, int right, int bottom) {
  Rectangle(dc->hdc, left, top, right, bottom);
}

void draw_ellipse(dc_handle dc, int left, int top, int right, int bottom) {
  Ellipse(dc->hdc, left, top, right, bottom);
}

void move_to(dc_handle dc, int x, int y) { MoveToEx(dc->hdc, x, y, nullptr); }

void line_to(dc_handle dc, int x, int y) { LineTo(dc->hdc, x, y); }

void set_pixel(dc_handle dc, int x, int y, rgb colour) { SetPixel(dc->hdc, x, y, colour_ref(colour)); }

void set_transparent_background(dc_handle dc) { SetBkMode(dc->hdc, TRANSPARENT); }

void set_text_colour(dc_handle dc, rgb colour) { SetTextColor(dc->hdc, colour_ref(colour)); }

void text_out(dc_handle dc, int x, int y, const char *text, int count) { TextOutA(dc->hdc, x, y, text, count); }

dc_handle acquire_window_dc() {
  if (nesting_depth == nesting_limit) {
    contexts_shared++;
    return &the_window_dc;
  }
  outer_contexts[nesting_depth++] = the_window_dc.hdc;
  the_window_dc.hdc = GetDC(main_window);
  return &the_window_dc;
}

void release_window_dc(dc_handle dc) {
  if (contexts_shared > 0) {
    contexts_shared--;
    return;
  }
  ReleaseDC(main_window, dc->hdc);
  dc->hdc = outer_contexts[--nesting_depth];
}

void post_quit_message(int code) { PostQuitMessage(code); }

static void show_windows_message_box(box_kind, const char *title, const char *text) {
  MessageBoxA(nullptr, text, title, MB_ICONINFORMATION | MB_OK);
}

static box_answer ask_windows_question(const char *title, const char *text) {
  int answer = MessageBoxA(main_window, text, title, MB_ICONWARNING | MB_YESNOCANCEL);
  return answer == IDYES ? answer_yes : answer == IDNO ? answer_no : answer_cancel;
}

void set_window_title(const char *title) { SetWindowTextA(main_window, title); }

int held_modifiers() {
  return (GetKeyState(VK_SHIFT) < 0 ? modifier_shift : 0) | (GetKeyState(VK_CONTROL) < 0 ? modifier_control : 0);
}

// The native messages the shell handles; every other one reaches it as message_other.
static const struct {
  UINT native;
  message_kind kind;
} message_kinds[] = {
    {WM_CREATE, message_create},
    {WM_DESTROY, message_destroy},
    {WM_PAINT, message_paint},
    {WM_KEYDOWN, message_key_down},
    {WM_CHAR, message_char},
    {WM_LBUTTONDOWN, message_left_button_down},
    {WM_RBUTTONDOWN, message_right_button_down},
    {WM_LBUTTONDBLCLK, message_left_double_click},
    {WM_CLOSE, message_close},
    {WM_TIMER, message_timer},
    {WM_LBUTTONUP, message_left_button_up},
};

// Timer 1 is the once-a-second timer; timer 2 runs only while a simulation does.
constexpr UINT_PTR simulation_timer_id = 2;

void set_simulation_timer(int milliseconds) {
  if (milliseconds > 0) SetTimer(main_window, simulation_timer_id, UINT(milliseconds), nullptr);
  else KillTimer(main_window, simulation_timer_id);
}

// The client area copied from the screen through a device-independent bitmap.
bool read_window_pixels(uint32_t *pixels, int width, int height) {
  HDC window_dc = GetDC(main_window);
  HDC memory_dc = CreateCompatibleDC(window_dc);
  HBITMAP bitmap = CreateCompatibleBitmap(window_dc, width, height);
  HGDIOBJ previous = SelectObject(memory_dc, bitmap);
  BitBlt(memory_dc, 0, 0, width, height, window_dc, 0, 0, SRCCOPY);
  SelectObject(memory_dc, previous);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  bool copied = GetDIBits(memory_dc, bitmap, 0, UINT(height), pixels, &info, DIB_RGB_COLORS) == height;
  DeleteObject(bitmap);
  DeleteDC(memory_dc);
  ReleaseDC(main_window, window_dc);
  return copied;
}

static message shell_message(UINT native, WPARAM wparam, LPARAM lparam) {
  message m{message_other, int(wparam), LOWORD(lparam), HIWORD(lparam)};
  for (const auto &entry : message_kinds)
    if (entry.native == native) m.kind = entry.kind;
  if (native == WM_TIMER && wparam == simulation_timer_id) m.kind = message_simulation_tick;
  return m;
}

static LRESULT CALLBACK main_window_procedure(HWND window, UINT native, WPARAM wparam, LPARAM lparam) {
  main_window = window; // messages arrive before CreateWindowExA returns the handle
  window_procedure(shell_message(native, wparam, lparam));
  // The shell decides whether a close ends the program; the window is never destroyed under it.
  if (native == WM_CLOSE) return 0;
  return DefWindowProcA(window, native, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  set_message_box_handler(show_windows_message_box);
  if (int status = enter_start_folder(__argc, __argv); status != start_go_on) return status;
  set_question_handler(ask_windows_question);
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = main_window_procedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  window_class.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
  window_class.lpszClassName = "MyLittleWindow";
  if (!RegisterClassExA(&window_class)) return 0;

  HWND window = CreateWindowExA(0, "MyLittleWindow", "TALVEN  version Beta 0.0", WS_OVERLAPPEDWINDOW, 50, 50, 700,
                                500, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show_command);
  SetTimer(window, 1, 1000, nullptr);
  MSG native{};
  while (GetMessageA(&native, nullptr, 0, 0) > 0) {
    TranslateMessage(&native);
    DispatchMessageA(&native);
  }
  return (int)native.wParam;
}
