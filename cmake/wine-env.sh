# Sourced by the scripts that start Wine: makes `wine` and `wineboot` (for this script and every
# program it starts) use a loader this machine can run. Wine's 32-bit loader is a 32-bit Linux program, and some kernels run none (it fails with
# "Exec format error"): there only 64-bit Windows programs can run, through the 64-bit loader.
# Sets TOVUSB_WINE_32BIT to 1 where 32-bit Windows programs can run, else 0.
if [ -z "${TOVUSB_WINE_32BIT:-}" ]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1 || [ ! -x /usr/lib/wine/wine64 ]; then
        TOVUSB_WINE_32BIT=1
    else
        TOVUSB_WINE_32BIT=0
    fi
    export TOVUSB_WINE_32BIT
fi
if [ "$TOVUSB_WINE_32BIT" = 0 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    case ":$PATH:" in
        *":$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64-only:"*) ;;
        *) PATH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64-only:$PATH" ;;
    esac
    export PATH
fi
