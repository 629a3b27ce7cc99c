#pragma once

/*
 * The contract between LunorTime and its plug-in modules.
 *
 * An operation that a task performs is a plug-in module: a shared library named "*.dll" in
 * the plug-in folder "程序功能" beside the executable. The program loads the module for one
 * use, looks up the exports it needs by their exact names, calls them and frees the module
 * again, so a module keeps nothing in memory between calls and nothing it starts may outlive
 * a call. All texts are NUL-terminated code page 936 (GBK).
 *
 * A complete module:
 *
 *     #include "LunorPlugin.h"
 *     #include <cstdio>
 *
 *     LUNOR_PLUGIN_EXPORT const char *GetName(void) { return "Say hello"; }
 *     LUNOR_PLUGIN_EXPORT const char *Help(void) { return "Writes hello into hello.txt"; }
 *     LUNOR_PLUGIN_EXPORT bool Parameter(void)
 *     {
 *         // Ask the user; on OK leave the parameter as the first line of Temp.txt in the
 *         // program's folder and return true.
 *         std::FILE *f = std::fopen("/path/to/program/Temp.txt", "w");
 *         if (!f)
 *             return false;
 *         std::fputs("world\n", f);
 *         std::fclose(f);
 *         return true;
 *     }
 *     LUNOR_PLUGIN_EXPORT void LUNOR_RUN_CALL Run(const char *param)
 *     {
 *         // param is nullptr for an empty parameter.
 *     }
 *
 * Build it as a shared library and name the file "hello.dll".
 */

#if defined(__cplusplus)
#define LUNOR_PLUGIN_EXTERN_C extern "C"
#else
#define LUNOR_PLUGIN_EXTERN_C
#endif

#if defined(_WIN32)
#define LUNOR_PLUGIN_EXPORT LUNOR_PLUGIN_EXTERN_C __declspec(dllexport)
#else
#define LUNOR_PLUGIN_EXPORT LUNOR_PLUGIN_EXTERN_C __attribute__((visibility("default")))
#endif

/* On 32-bit x86, Run takes its argument in EAX and removes nothing from the stack. */
#if defined(__i386__)
#define LUNOR_RUN_CALL __attribute__((regparm(1)))
#else
#define LUNOR_RUN_CALL
#endif

#if defined(_WIN32) && defined(__i386__)
#define LUNOR_PLUGIN_CALL __stdcall
#else
#define LUNOR_PLUGIN_CALL
#endif

/* C declarations: typedef and (void) keep the header usable from C. */
/* NOLINTBEGIN(modernize-use-using, modernize-redundant-void-arg) */

/*
 * GetName (required: a module without it is not offered as an operation)
 *   The operation's display name. The text must stay readable until the module is freed;
 *   the program copies it. A null result reads as an empty name.
 */
typedef const char *(LUNOR_PLUGIN_CALL *LunorGetNameFunction)(void);

/*
 * Help (optional: a missing export is reported to the user as a broken module)
 *   A help text for the operation, shown as it is, line breaks included.
 */
typedef const char *(LUNOR_PLUGIN_CALL *LunorHelpFunction)(void);

/*
 * Parameter (needed to add a task with this operation)
 *   Shows the module's own dialog. Returns true (non-zero in the low byte) when the user chose
 *   a parameter, after writing it as the first line of "Temp.txt" in the program's folder;
 *   false when the dialog was cancelled. The program reads and deletes "Temp.txt".
 */
typedef bool(LUNOR_PLUGIN_CALL *LunorParameterFunction)(void);

/*
 * Run (needed to perform the operation)
 *   Performs the operation and returns when it is done. The argument is nullptr for an empty
 *   parameter; otherwise it points to a copy that the program owns and releases after the
 *   call: a 32-bit reference count (1) at offset -8, the 32-bit length in bytes at -4, the
 *   text, and a NUL after it. The module must neither free nor keep it.
 */
typedef void(LUNOR_RUN_CALL *LunorRunFunction)(const char *param);

/* NOLINTEND(modernize-use-using, modernize-redundant-void-arg) */
