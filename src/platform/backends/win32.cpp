// The Windows backend: the program's entry point, its one window, and the
// drawing calls of the core mapped one for one onto GDI.
#include <windows.h>

#include "platform/scaled_view.h"
#include "platform/seam.h"

// The core draws into a picture of the client size kept in memory, which the window
// shows at the largest whole factor that fits; the one context is that picture's.
struct draw_context {
  HDC hdc;
};
static draw_context picture;
static uint32_t *picture_pixels; // rows of client_width pixels, each 0x00RRGGBB
static HWND main_window;
static scaled_view view = view_in_window(client_width, client_height);
// Set by every drawing call: the window shows the picture again only when it changed or the window did.
static bool picture_drawn;
static SIZE shown_size;

static HDC drawing(dc_handle dc) {
  picture_drawn = true;
  return dc->hdc;
}

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
  Rectangle(drawing(dc), left, top, right, bottom);
}

void draw_ellipse(dc_handle dc, int left, int top, int right, int bottom) {
  Ellipse(drawing(dc), left, top, right, bottom);
}

void move_to(dc_handle dc, int x, int y) { MoveToEx(dc->hdc, x, y, nullptr); }

void line_to(dc_handle dc, int x, int y) { LineTo(drawing(dc), x, y); }

void set_pixel(dc_handle dc, int x, int y, rgb colour) { SetPixel(drawing(dc), x, y, colour_ref(colour)); }

void set_transparent_background(dc_handle dc) { SetBkMode(dc->hdc, TRANSPARENT); }

void set_text_colour(dc_handle dc, rgb colour) { SetTextColor(dc->hdc, colour_ref(colour)); }

void text_out(dc_handle dc, int x, int y, const char *text, int count) { TextOutA(drawing(dc), x, y, text, count); }

// Every message draws as through a fresh GetDC context. A message box runs its own
// loop, so a message can arrive while an outer handler still draws: its pen, brush,
// font and colours are saved here and given back at the nested message's release.
dc_handle acquire_window_dc() {
  SaveDC(picture.hdc);
  SelectObject(picture.hdc, GetStockObject(BLACK_PEN));
  SelectObject(picture.hdc, GetStockObject(WHITE_BRUSH));
  SelectObject(picture.hdc, GetStockObject(SYSTEM_FONT));
  SetTextColor(picture.hdc, RGB(0, 0, 0));
  SetBkMode(picture.hdc, OPAQUE);
  MoveToEx(picture.hdc, 0, 0, nullptr);
  return &picture;
}

// The picture scaled by whole pixels, centred, the window class's grey around it.
static void show_picture() {
  RECT client;
  GetClientRect(main_window, &client);
  if (!picture_drawn && shown_size.cx == client.right && shown_size.cy == client.bottom) return;
  picture_drawn = false;
  shown_size = {client.right, client.bottom};
  view = view_in_window(client.right, client.bottom);
  int width = client_width * view.factor, height = client_height * view.factor;
  HDC window_dc = GetDC(main_window);
  ExcludeClipRect(window_dc, view.left, view.top, view.left + width, view.top + height);
  FillRect(window_dc, &client, (HBRUSH)GetStockObject(LTGRAY_BRUSH));
  SelectClipRgn(window_dc, nullptr);
  SetStretchBltMode(window_dc, COLORONCOLOR);
  StretchBlt(window_dc, view.left, view.top, width, height, picture.hdc, 0, 0, client_width, client_height, SRCCOPY);
  ReleaseDC(main_window, window_dc);
}

void release_window_dc(dc_handle dc) {
  RestoreDC(dc->hdc, -1);
  show_picture();
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

// The picture itself, at 1x.
bool read_window_pixels(uint32_t *pixels, int width, int height) {
  if (width > client_width || height > client_height) return false;
  GdiFlush();
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) pixels[y * width + x] = picture_pixels[y * client_width + x] & 0xFFFFFF;
  return true;
}

// A 32-bit top-down bitmap in the window class's grey, as a window shows before anything is drawn.
static void create_picture() {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client_width;
  info.bmiHeader.biHeight = -client_height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  picture.hdc = CreateCompatibleDC(nullptr);
  SelectObject(picture.hdc, bitmap);
  picture_pixels = (uint32_t *)bits;
  RECT all{0, 0, client_width, client_height};
  FillRect(picture.hdc, &all, (HBRUSH)GetStockObject(LTGRAY_BRUSH));
}

// Mouse points are mapped back onto the picture; a press on the grey around it is
// dropped, a release is passed wherever it happens.
static bool is_mouse(message_kind kind) {
  return kind == message_left_button_down || kind == message_right_button_down ||
         kind == message_left_double_click || kind == message_left_button_up;
}

static message shell_message(UINT native, WPARAM wparam, LPARAM lparam) {
  message m{message_other, int(wparam), LOWORD(lparam), HIWORD(lparam)};
  for (const auto &entry : message_kinds)
    if (entry.native == native) m.kind = entry.kind;
  if (native == WM_TIMER && wparam == simulation_timer_id) m.kind = message_simulation_tick;
  if (is_mouse(m.kind)) {
    picture_point p = point_in_picture(view, short(LOWORD(lparam)), short(HIWORD(lparam)));
    m.x = p.x;
    m.y = p.y;
    if (!p.inside && m.kind != message_left_button_up) m.kind = message_other;
  }
  return m;
}

static LRESULT CALLBACK main_window_procedure(HWND window, UINT native, WPARAM wparam, LPARAM lparam) {
  main_window = window; // messages arrive before CreateWindowExA returns the handle
  window_procedure(shell_message(native, wparam, lparam));
  // The shell decides whether a close ends the program; the window is never destroyed under it.
  if (native == WM_CLOSE) return 0;
  // Every message draws the whole client area; nothing is erased under the picture.
  if (native == WM_ERASEBKGND) return 1;
  // Never smaller than the window starts.
  if (native == WM_GETMINMAXINFO) ((MINMAXINFO *)lparam)->ptMinTrackSize = {700, 500};
  return DefWindowProcA(window, native, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  set_message_box_handler(show_windows_message_box);
  if (int status = enter_start_folder(__argc, __argv); status != start_go_on) return status;
  set_question_handler(ask_windows_question);
  create_picture();
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

  HWND window = CreateWindowExA(0, "MyLittleWindow", program_title, WS_OVERLAPPEDWINDOW, 50, 50, client_width,
                                client_height, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show_command);
  SetTimer(window, 1, 1000, nullptr);
  MSG native{};
  while (GetMessageA(&native, nullptr, 0, 0) > 0) {
    TranslateMessage(&native);
    DispatchMessageA(&native);
  }
  return (int)native.wParam;
}
