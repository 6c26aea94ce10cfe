/* ScrivoOLE: embedded objects and class-registry queries for the rich-text control.
 *
 * Strings: every text argument is read up to its terminating zero, so both the library's byte
 * strings and plain C strings may be passed. Every string the library returns, or stores through
 * an out pointer, is a byte string (a 32-bit byte length just before the data, a terminating
 * zero after it) that the caller frees with ScrivoOLE_FreeString. An out string is replaced:
 * the library frees what it points to first, so it must hold null or a byte string. On Windows
 * byte strings are the system's BSTRs holding bytes of the ANSI code page.
 */
#ifndef SCRIVOOLE_H
#define SCRIVOOLE_H

#include <stdint.h>

#if defined(_WIN32)
/* The DLL takes its export names from ScrivoOLE.def (plain names for stdcall functions). */
#define SCRIVOOLE_EXPORT
#if defined(_WIN64)
#define SCRIVOOLE_CALL
#else
#define SCRIVOOLE_CALL __stdcall
#endif
#else
#define SCRIVOOLE_EXPORT __attribute__((visibility("default")))
#define SCRIVOOLE_CALL
#endif

#ifdef __cplusplus
#define SCRIVOOLE_API extern "C" SCRIVOOLE_EXPORT
extern "C" {
#else
#define SCRIVOOLE_API extern SCRIVOOLE_EXPORT
#endif

/** A byte string: points at the first byte; the length sits in the four bytes before it. */
typedef char* ScrivoString;

/** The host's module: a dlopen() handle, or an HMODULE on Windows. */
typedef void* ScrivoModule;

/** The window message sent, and waited for, when an embedded object was created or changed:
 * first parameter 0, second parameter the extension object. */
#define SCRIVOOLE_MSG_OBJECTCHANGED 1361

/* The host module exports these two functions; SET_OLDCREATOR and New_EXTOBJEX look them up.
 * SCRIVO_GETHWNDCONTROL: the control's window object for a window handle (on Linux the
 *   control's QWidget*, the parent of the insert-object dialog), or null.
 * SCRIVO_SENDMESSAGE: delivers a message to a window and returns when it was handled (on
 *   Windows the library calls the system's SendMessage instead). */
typedef void*(SCRIVOOLE_CALL* ScrivoGetHwndControlFn)(uint32_t window);
typedef intptr_t(SCRIVOOLE_CALL* ScrivoSendMessageFn)(uint32_t window, uint32_t message,
                                                      uintptr_t first, intptr_t second);

/* ---- Device context: what Paint and Draw draw on. ------------------------------------------ */

#define SCRIVOOLE_RC_BITBLT 0x0001
#define SCRIVOOLE_RC_BANDING 0x0002
#define SCRIVOOLE_RC_STRETCHBLT 0x0800

/** Draws an image of width x height pixels (32-bit, premultiplied alpha, bytes in the order
 * blue, green, red, alpha, rows top down, stride bytes apart) stretched onto the rectangle
 * (x, y, x + cx, y + cy) of the device. */
typedef void(SCRIVOOLE_CALL* ScrivoDrawImageFn)(void* context, int32_t x, int32_t y, int32_t cx,
                                                int32_t cy, const uint8_t* pixels, int32_t width,
                                                int32_t height, int32_t stride);

typedef struct ScrivoDeviceContext {
    uint32_t rasterCaps; /* SCRIVOOLE_RC_* bits the device has */
    int32_t dpiX;        /* the device's pixels per inch */
    int32_t dpiY;
    ScrivoDrawImageFn drawImage;
    void* context; /* passed back to drawImage */
} ScrivoDeviceContext;

typedef struct ScrivoRect {
    int32_t left, top, right, bottom;
} ScrivoRect;

/* ---- Rich-text writer and reader the control hands to SaveRtf and LoadRtf. ---------------- */

typedef struct ScrivoRtfWriter ScrivoRtfWriter;
typedef struct ScrivoRtfWriterOps {
    void* writerOwned[4]; /* slots 0 to 3 belong to the writer */
    /** Writes length bytes of text (-1: up to its zero); 0 on success. */
    int32_t(SCRIVOOLE_CALL* write)(ScrivoRtfWriter* writer, const char* text, int32_t length);
} ScrivoRtfWriterOps;
struct ScrivoRtfWriter {
    const ScrivoRtfWriterOps* ops;
    int32_t compact; /* nonzero: no line breaks */
};

typedef struct ScrivoRtfReader ScrivoRtfReader;
typedef struct ScrivoRtfReaderOps {
    /** The next character code of the document, or 0 or less at its end. */
    int32_t(SCRIVOOLE_CALL* next)(ScrivoRtfReader* reader);
} ScrivoRtfReaderOps;
struct ScrivoRtfReader {
    const ScrivoRtfReaderOps* ops;
};

/* ---- Extension object: one embedded object of a document. --------------------------------- */

typedef struct ScrivoExtensionObject ScrivoExtensionObject;
typedef ScrivoExtensionObject ExtObj;

/** The 24 operations, in slot order; each takes the object first. */
typedef struct ScrivoExtObjOps {
    void(SCRIVOOLE_CALL* Destroy)(ExtObj*, uint32_t flags); /* bit 0: free the object */
    int32_t(SCRIVOOLE_CALL* CreateAndNotify)(ExtObj*, const char* spec);
    int32_t(SCRIVOOLE_CALL* Create)(ExtObj*, const char* spec); /* 1 on success, 0 failed */
    void(SCRIVOOLE_CALL* Paint)(ExtObj*, const ScrivoDeviceContext*, int32_t x, int32_t y);
    int32_t(SCRIVOOLE_CALL* Slot4)(ExtObj*, intptr_t, intptr_t, intptr_t);
    void(SCRIVOOLE_CALL* Draw)(ExtObj*, const ScrivoDeviceContext*, int32_t dx, int32_t dy);
    void(SCRIVOOLE_CALL* Slot6)(ExtObj*, intptr_t, intptr_t, intptr_t);
    void(SCRIVOOLE_CALL* GetRect)(ExtObj*, ScrivoRect* rect); /* screen pixels */
    void(SCRIVOOLE_CALL* Activate)(ExtObj*, intptr_t, intptr_t);
    void(SCRIVOOLE_CALL* Slot9)(ExtObj*, intptr_t, intptr_t);
    /** "ScrivoOLE <item number>" in a library buffer that the next call overwrites. */
    const char*(SCRIVOOLE_CALL* GetName)(ExtObj*);
    int32_t(SCRIVOOLE_CALL* GetNumber)(ExtObj*);
    int32_t(SCRIVOOLE_CALL* SaveRtf)(ExtObj*, ScrivoRtfWriter*, const char* format);
    int32_t(SCRIVOOLE_CALL* LoadRtf)(ExtObj*, ScrivoRtfReader*, intptr_t);
    void(SCRIVOOLE_CALL* DeleteItem)(ExtObj*);
    void(SCRIVOOLE_CALL* Slot15)(ExtObj*, intptr_t);
    int32_t(SCRIVOOLE_CALL* Slot16)(ExtObj*, intptr_t);
    int32_t(SCRIVOOLE_CALL* Slot17)(ExtObj*, intptr_t, intptr_t, intptr_t, intptr_t);
    int32_t(SCRIVOOLE_CALL* Slot18)(ExtObj*, intptr_t, intptr_t, intptr_t, intptr_t);
    int32_t(SCRIVOOLE_CALL* Slot19)(ExtObj*, intptr_t, intptr_t, intptr_t, int32_t* out);
    int32_t(SCRIVOOLE_CALL* Slot20)(ExtObj*, intptr_t, intptr_t, intptr_t);
    void(SCRIVOOLE_CALL* Slot21)(ExtObj*, intptr_t);
    int32_t(SCRIVOOLE_CALL* Slot22)(ExtObj*, intptr_t, intptr_t);
    void(SCRIVOOLE_CALL* Slot23)(ExtObj*, intptr_t);
} ScrivoExtObjOps;

/** Created by New_EXTOBJ, freed by Destroy with bit 0. The control owns controlA to controlE. */
struct ScrivoExtensionObject {
    const ScrivoExtObjOps* ops;
    uint16_t version; /* 3 */
    int32_t controlA, controlB, controlC;
    int32_t controlD; /* 1000 */
    int32_t id;       /* 1, 2, 3 ... in creation order */
    uint32_t window;  /* receives SCRIVOOLE_MSG_OBJECTCHANGED */
    void* parent;     /* the control's window object: parent of the insert-object dialog */
    void* item;       /* the embedded item, or null */
    int32_t controlE;
    int32_t changed;  /* 1 once the embedded object reported a change */
    int32_t updating; /* 1 while the object updates itself: no notification then */
};

/* ---- The fifteen exports. ------------------------------------------------------------------ */

/** 3, the version of the extension object's operation table. */
SCRIVOOLE_API int32_t SCRIVOOLE_CALL GET_EXTOBJ_VERSION(void);
/** Writes 0 into the slot: the library has no RTF operation table. */
SCRIVOOLE_API void SCRIVOOLE_CALL GET_RTFOPER(int32_t* slot);
/** 1 when name is the library's file name "ScrivoOLE.DLL" in any letter case, else 0. */
SCRIVOOLE_API int32_t SCRIVOOLE_CALL ITS_I(const char* name);
/** Binds the library to the host module; 1, or 0 when previous is not 0. Writes 0 to slot. */
SCRIVOOLE_API int32_t SCRIVOOLE_CALL SET_OLDCREATOR(ScrivoModule module, int32_t previous,
                                                    int32_t* slot);
/** A new extension object for the control's window, or null (window 0, version not 3, not
 * bound, or the control knows no such window). */
SCRIVOOLE_API ScrivoExtensionObject* SCRIVOOLE_CALL New_EXTOBJ(uint32_t window, int32_t ignored,
                                                               int32_t version);
/** New_EXTOBJ with the host module given for this one call. */
SCRIVOOLE_API ScrivoExtensionObject* SCRIVOOLE_CALL New_EXTOBJEX(ScrivoModule module,
                                                                 uint32_t window, int32_t ignored,
                                                                 int32_t version);
/** Sets the container document name given to servers (first 128 bytes); bytes taken. */
SCRIVOOLE_API int32_t SCRIVOOLE_CALL SET_OBJECTHOSTNAME(const char* name);
/** The index-th registry key, depth first, as "A\B\C\"; its default value into *value. Empty
 * strings for a negative index or past the end. */
SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_REGISTRYRECORD(int32_t index, ScrivoString* value);
/** The class name of the index-th OLE server; its program into *server. Empty past the end. */
SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_OLESERVERNAME(int16_t index, ScrivoString* server);
/** -1 and the server's program into *server when the class has one, else 0 and "". An empty
 * name returns 0 and leaves *server alone. */
SCRIVOOLE_API int16_t SCRIVOOLE_CALL IS_OLESERVER(const char* className, ScrivoString* server);
/** The index-th file type with extensions; its patterns ("*.txt;*.log") into *types. */
SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_ASSEXTENSIONS(int16_t index, ScrivoString* types);
/** The file type registered for an extension given without its dot, or "". */
SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_EXTASS(const char* ext);
/** The default value of a first-level registry key, or "". */
SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_KEYFIRSTLEVELVALUE(const char* name);
/** The default value of the first-level key the last registry walk visited last. */
SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_LASTFIRSTLEVELVALUE(void);
/** -1 when the path names an existing file (it is not opened), else 0. */
SCRIVOOLE_API int16_t SCRIVOOLE_CALL IS_FILELOADABLE(const char* path);

/* ---- Byte strings, the library's version and host services. -------------------------------- */

/** A new byte string holding length bytes copied from bytes (null: zero bytes). */
SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL ScrivoOLE_AllocString(const char* bytes, uint32_t length);
/** Frees a byte string of the library; null is ignored. */
SCRIVOOLE_API void SCRIVOOLE_CALL ScrivoOLE_FreeString(ScrivoString text);
/** The byte length of a byte string (0 for null). */
SCRIVOOLE_API uint32_t SCRIVOOLE_CALL ScrivoOLE_StringLength(ScrivoString text);
/** The library's own version, "major.minor.patch"; static, not to be freed. */
SCRIVOOLE_API const char* SCRIVOOLE_CALL ScrivoOLE_Version(void);

/** Services a host may take over; a null member keeps the library's own. */
typedef struct ScrivoHostHooks {
    /** Shows the error box text instead of the library's message box. */
    void(SCRIVOOLE_CALL* showError)(void* context, const char* text);
    /** Starts a server: command as registered, file to open, the container document's name
     * (SET_OBJECTHOSTNAME). Nonzero when started. */
    int32_t(SCRIVOOLE_CALL* launch)(void* context, const char* command, const char* file,
                                    const char* hostDocument);
    /** Answers the insert-object dialog: nonzero to confirm, with either a class name or a
     * file path (byte strings the library frees) in the out slots. */
    int32_t(SCRIVOOLE_CALL* insertObject)(void* context, ScrivoString* className,
                                          ScrivoString* file);
    /** Answers the insert-object dialog's Browse button: a file path, or null for Cancel. */
    ScrivoString(SCRIVOOLE_CALL* chooseFile)(void* context);
    void* context;
} ScrivoHostHooks;

/** Installs host services (copied); null restores the library's own. */
SCRIVOOLE_API void SCRIVOOLE_CALL ScrivoOLE_SetHostHooks(const ScrivoHostHooks* hooks);
/** Takes in the edits that servers saved to activated objects and reports them. The library
 * calls it from a timer where it has an event loop to use (Qt, Windows); hosts without one
 * call it themselves, for example when their window is activated. Count of objects changed. */
SCRIVOOLE_API int32_t SCRIVOOLE_CALL ScrivoOLE_Poll(void);

#ifdef __cplusplus
}
#endif

#endif
