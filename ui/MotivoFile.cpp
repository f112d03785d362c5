#include "ui/MotivoFile.h"

#include <cerrno>

namespace zelvo {

std::string motivoFile(int numero)
{
    switch (numero) {
    case EACCES:
    case EPERM:
        return "permesso negato";
    case ENOENT:
        return "la cartella non esiste";
    case ENOTDIR:
        return "una parte del percorso non è una cartella";
    case EISDIR:
        return "è una cartella";
    case ENOSPC:
        return "spazio esaurito sul disco";
    case EROFS:
        return "il disco è in sola lettura";
    case ENAMETOOLONG:
        return "nome troppo lungo";
    case EDQUOT:
        return "quota del disco superata";
    case EPIPE:
        return "l'uscita è stata chiusa";
    case EIO:
        return "errore di lettura o scrittura sul dispositivo";
    case 0:
        return "errore di scrittura";
    default:
        return "errore di sistema " + std::to_string(numero);
    }
}

} // namespace zelvo
