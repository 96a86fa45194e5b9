/*
 * Vivo - the KZ toolchain plug-in: the 33 exports the host calls.
 *
 * Every export returns int32_t: 0 for success, 1 for failure (ConvertPhaseOptions also -1, -2, -3).
 * No exception, signal or abort ever leaves an export.
 *
 * Caller buffers. A text result leaves the plug-in through a host-owned buffer `buffer` and a
 * signed 32-bit length `len`. On entry *len holds the capacity in bytes; on return it holds the
 * length the protocol of the export says, also when the buffer was too small (then nothing is
 * written into the buffer and the call returns 1, so the host can call again with a larger one).
 * With T the result text and L its length:
 *   newline list                  *len = L;     needs capacity >= L;     writes T, every "\n" as NUL
 *   newline text with terminator  *len = L;     needs capacity >= L + 1; writes T, every "\n" as NUL, then NUL
 *   terminated text               *len = L + 1; needs capacity >= L + 1; writes T and NUL
 *   raw text                      *len = L;     needs capacity >= L;     writes T, no terminator
 * The plug-in never allocates memory that the host must free.
 *
 * NUL-separated lists: strings, each ended by NUL, then one more NUL; an empty list is one NUL.
 */
#ifndef VIVO_VIVO_H
#define VIVO_VIVO_H

#include <stdint.h>

#ifndef VIVO_CALL
#  if defined(_WIN32) && !defined(_WIN64)
#    define VIVO_CALL __cdecl
#  else
#    define VIVO_CALL
#  endif
#endif

#ifndef VIVO_API
#  if defined(_WIN32)
#    define VIVO_API
#  else
#    define VIVO_API __attribute__((visibility("default")))
#  endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The host's description of a toolchain; `size` must hold 12 (the 32-bit host's record size). */
typedef struct VivoToolchainRecord {
    uint32_t    size;
    const char *name;
    const char *version;
} VivoToolchainRecord;

/* One memory area of the linker's section placement (UpdateLinkerSections). */
typedef struct VivoMemoryArea {
    uint32_t           reserved;       /* not read */
    const char        *addressList;    /* NUL-separated list; first string "0x..." */
    const char *const *sectionGroups;  /* NULL-ended array of NUL-separated name lists */
} VivoMemoryArea;

/* Identity */
VIVO_API int32_t VIVO_CALL GetDLLInterfaceVersion(uint32_t *major /* out */, uint32_t *minor /* out */);
VIVO_API int32_t VIVO_CALL GetDLLProductVersion(char *buffer /* out */, int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL GetDLLOrdinalVersion(uint32_t *ordinal /* out */);
VIVO_API int32_t VIVO_CALL GetDLLType(char *buffer /* out */, int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL GetTemplates(char *buffer /* out */, int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL GetSupportedFileExtensions(char *buffer /* out */, int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL IsCommandLineExecutionSupported(const char *toolName /* in */, uint32_t *answer /* out */);

/* Toolchain change */
VIVO_API int32_t VIVO_CALL CanUpgradeToolchain(const VivoToolchainRecord *from /* in */,
                                               const VivoToolchainRecord *to /* in */);
VIVO_API int32_t VIVO_CALL UpgradePhaseOrder(const VivoToolchainRecord *from /* in */,
                                             const VivoToolchainRecord *to /* in */,
                                             const char *phaseOrderList /* in */, char *buffer /* out */,
                                             int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL UpgradePhases(const void *reserved1, const void *reserved2,
                                         const char *stateList /* in */, const char *phaseList /* in */,
                                         const char *phaseName /* in */, char *buffer /* out */,
                                         int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL UpgradePhaseOptions(const VivoToolchainRecord *from /* in */,
                                               const VivoToolchainRecord *to /* in */,
                                               const char *phaseName /* in */, uint32_t ignored,
                                               const char *optionList /* in */, char *buffer /* out */,
                                               int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL UpgradePhaseMappings(const void *reserved, uint32_t ignored,
                                                const char *mappingList /* in */, char *buffer /* out */,
                                                int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL ConvertPhaseOptions(const VivoToolchainRecord *toolchain /* in */,
                                               const char *sourceTool /* in */, const char *targetTool /* in */,
                                               const char *sourceOptions /* in */, char *buffer /* out */,
                                               int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL CheckOptionConsistency(const void *p1, const void *p2, const void *p3,
                                                  const void *p4, const void *p5, const void *p6,
                                                  const void *p7, const void *p8);

/* Change summary */
VIVO_API int32_t VIVO_CALL ResetSummaryInformation(void);
VIVO_API int32_t VIVO_CALL DisplaySummaryInformation(const char *projectName /* in */,
                                                     const char *projectDirectory /* in */);

/* Build option queries */
VIVO_API int32_t VIVO_CALL GetIncludeFileDirectories(const char *toolName /* in */, const char *options /* in */,
                                                     char *buffer /* out */, int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL SetIncludeFileDirectories(const char *toolName /* in */, const char *options /* in */,
                                                     const char *directoryList /* in */, char *buffer /* out */,
                                                     int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL GetDefines(const char *toolName /* in */, const char *options /* in */,
                                      char *buffer /* out */, int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL SetDefines(const char *toolName /* in */, const char *options /* in */,
                                      const char *defineList /* in */, char *buffer /* out */,
                                      int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL GetLinkerMapFile(uint32_t ignored, const char *options /* in */,
                                            char *buffer /* out */, int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL GetLinkerInformation(const VivoToolchainRecord *toolchain /* in */,
                                                uint32_t *flags /* out */, uint32_t *second /* out */);
VIVO_API int32_t VIVO_CALL IsLinkedByCommandFile(const void *reserved, const char *options /* in */,
                                                 uint32_t *answer /* out */);
VIVO_API int32_t VIVO_CALL IsPreprocessorScanEnabled(const void *reserved, const char *options /* in */,
                                                     uint32_t *answer /* out */);
VIVO_API int32_t VIVO_CALL GetLibraryFiles(const char *options /* in */, char *buffer /* out */,
                                           int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL SetLibraryFiles(const char *options /* in */, const char *libraryText /* in */,
                                           char *buffer /* out */, int32_t *len /* in/out */);

/* Linker memory layout */
VIVO_API int32_t VIVO_CALL GetNoOfMemoryAreas(uint32_t ignored, const char *options /* in */,
                                              uint32_t *count /* out */);
VIVO_API int32_t VIVO_CALL GetAddressRanges(uint32_t ignored, const char *options /* in */, int32_t areaNumber,
                                            char *buffer /* out */, int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL GetSections(const void *reserved, const char *options /* in */, int32_t areaNumber,
                                       char *buffer /* out */, int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL UpdateLinkerSections(const void *reserved, const char *options /* in */,
                                                const VivoMemoryArea *const *areas /* in */,
                                                char *buffer /* out */, int32_t *len /* in/out */);

/* Editor and build output */
VIVO_API int32_t VIVO_CALL GetSyntaxColouringInformation(const char *name /* in */, char *buffer /* out */,
                                                         int32_t *len /* in/out */);
VIVO_API int32_t VIVO_CALL GetSyntaxColouringVersion(uint32_t *version /* out */);
VIVO_API int32_t VIVO_CALL GetMakefileOutputLineInfo(const char *line /* in */, uint32_t *recognised /* out */,
                                                     uint32_t *errors /* out */, uint32_t *warnings /* out */,
                                                     uint32_t *fatalErrors /* out */, char *buffer /* out */,
                                                     int32_t *len /* in/out */, uint32_t *messageFlag /* out */);

#ifdef __cplusplus
}
#endif

#endif /* VIVO_VIVO_H */
