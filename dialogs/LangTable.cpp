// Compiled with the Windows-1252 execution character set: the texts are
// stored as the windows show them.
#include "dialogs/LangTable.h"

#include <iterator>

const char* LangTable::GetText(int index) const
{
    if (index == 0)
        return entries[0];
    if (index < 0 || index > count)
        return "";
    return entries[count * language + index];
}

void LangTable::SetLanguage(int value)
{
    if (value == Spanish || value == English)
        language = value;
}

namespace LangTexts {

#define PRODUCT DefaultProductName
#define NO_INFORMATION_ES "Error: la información solicitada no esta disponible !"
#define NO_INFORMATION_EN "Error: no available information for request"
#define NOT_ANSWERING_ES "El servidor no responde.", "El servidor no responde; esta es la copia guardada."
#define NOT_ANSWERING_EN "The server is not answering.", "The server is not answering; this is the saved copy."

const char* const searchDialog[] = {
    PRODUCT,
    "Buscar en el Directorio", "Buscar", "Cerrar", "&Ver", "Usuario", "Dominio", "&Nombre", "&Correo",
    "E&mpresa", "&Pais/Región", "&Estado/Provincia", "Ci&udad", "Buscando...\nUn momento por favor...",
    "&Adicionar", "Nombre", "Correo", "Empresa", "Pais/Región", "Estado/Provincia", "Ciudad",
    "El servidor no responde. Vuelva a intentarlo.",
    "Directory Search", "Search", "Close", "&View", "Username", "Domain", "&Name", "&E-mail",
    "Co&mpany", "Co&untry/Region", "&State/Province", "Cit&y", "Searching...\nOne moment please...",
    "&Add", "Name", "E-mail", "Company", "Country/Region", "State/Province", "City",
    "The server is not answering. Try again.",
};

const char* const cardDialog[] = {
    PRODUCT,
    "Tarjeta Virtual", "Cerrar", "Cancelar", "Aceptar", "Directorio", "Identificación", "Hogar", "Negocios",
    "Guardar como vCard...", "Importar vCard...", "Archivos vCard (*.vcf)|*.vcf|Todos los archivos (*.*)|*.*||",
    "El archivo no es una vCard que se pueda leer; la tarjeta no ha cambiado.",
    "Estos campos perdieron caracteres que no se pueden mostrar (ahora son \"?\"):",
    "El archivo trae más de diez direcciones de correo; se tomaron las diez primeras.",
    "No se pudo escribir el archivo.",
    "El archivo es demasiado grande: su primera tarjeta no termina en sus primeros 4 MB; la tarjeta no ha cambiado.",
    "Estas direcciones se dejaron fuera:", "Estos teléfonos se dejaron fuera:", "Estas páginas web se dejaron fuera:",
    "Estas no son direcciones de correo y se dejaron fuera:", "La foto está en la web y no se descargó:",
    "La foto del archivo no se pudo leer.", "Reintentar",
    "La foto del archivo es demasiado grande para abrirla (más de 64 megapíxeles); no se tomó.",
    "La foto del archivo no se puede ajustar a 8 KB; no se tomó.",
    "Virtual Card", "Close", "Cancel", "Ok", "Directory", "Identification", "Home", "Business",
    "Save as vCard...", "Import vCard...", "vCard files (*.vcf)|*.vcf|All files (*.*)|*.*||",
    "The file is not a vCard that can be read; the card has not changed.",
    "These fields lost characters that cannot be shown (they are now \"?\"):",
    "The file holds more than ten e-mail addresses; the first ten were taken.",
    "The file could not be written.",
    "The file is too large: its first card does not end within its first 4 MB; the card has not changed.",
    "These addresses were left out:", "These phone numbers were left out:", "These web pages were left out:",
    "These are not e-mail addresses and were left out:", "The photo is on the web and was not fetched:",
    "The photo in the file could not be read.", "Try again",
    "The photo in the file is too large to be opened (more than 64 megapixels); it was not taken.",
    "The photo in the file cannot be made to fit in 8 KB; it was not taken.",
};

#define PICTURE_PATTERNS "*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.dib;*.ico"

const char* const identificationPage[] = {
    PRODUCT,
    "Obteniendo información...", "&Título", "Ap&odo", "2&do Nombre", "Ape&llido", "Nombre &Pref.", "&Foto",
    "&Direcciones de Correo", "&Nombre", "&Remover", "&Editar", "&Adicionar", "E&xplorar", NO_INFORMATION_ES,
    "Imágenes (*.jpg; *.png; *.gif; *.bmp; *.ico)|" PICTURE_PATTERNS "|Todos los archivos (*.*)|*.*||",
    "La imagen seleccionada no se puede reducir a 8Kb, por favor, seleccione otro archivo", "Enviar &Correo", "Remo&ver",
    "No se puede leer el archivo seleccionado, por favor, seleccione otro archivo",
    "El archivo seleccionado no es una imagen que se pueda mostrar, por favor, seleccione otro archivo",
    "La imagen seleccionada es demasiado grande para abrirla (más de 64 megapíxeles), por favor, seleccione otro archivo",
    NOT_ANSWERING_ES,
    "Getting information...", "&Title", "&Nickname", "Mi&ddle", "&Lastname", "Frien&dlyname", "&Photo",
    "E-&mail Addresses", "&Firstname", "&Remove", "&Edit", "&Add", "&Browse", NO_INFORMATION_EN,
    "Pictures (*.jpg; *.png; *.gif; *.bmp; *.ico)|" PICTURE_PATTERNS "|All files (*.*)|*.*||",
    "The selected picture cannot be made to fit in 8Kb, please, select another one", "&Send E-Mail", "Remo&ve",
    "The selected file cannot be read, please, select another one",
    "The selected file is not a picture that can be shown, please, select another one",
    "The selected picture is too large to be opened (more than 64 megapixels), please, select another one",
    NOT_ANSWERING_EN,
};

#define ADDRESS_ES "Obteniendo información...", "Po&stal", "Pag. &Web", "&Estado/Provincia", "&Teléfono", \
    "&Celular", "&Fax", "&Pais/Región", "Ci&udad", "Di&rección", "&Ir"
#define ADDRESS_EN "Getting information...", "&Zip code", "&Web Page", "&State/Province", "Pho&ne", \
    "Mobi&le", "Fa&x", "Co&untry/Region", "Cit&y", "Street Add&ress", "&Go"

const char* const businessPage[] = {
    PRODUCT,
    ADDRESS_ES, "Carg&o", "&Departamento", "E&mpresa", NO_INFORMATION_ES, NOT_ANSWERING_ES,
    ADDRESS_EN, "&Job Title", "&Department", "Co&mpany", NO_INFORMATION_EN, NOT_ANSWERING_EN,
};

const char* const homePage[] = {
    PRODUCT,
    ADDRESS_ES, NO_INFORMATION_ES, NOT_ANSWERING_ES,
    ADDRESS_EN, NO_INFORMATION_EN, NOT_ANSWERING_EN,
};

const char* const directoryPage[] = {
    PRODUCT,
    "Obteniendo información...",
    "Si la información no esta publicada, únicamente sus contactos podrán ver su tarjeta virtual.",
    "Información del &Hogar", "Información de &Negocios", "Información de &Identificación",
    "&Publicar en el directorio mi", "&Mi fotografía",
    "Getting information...",
    "If the information is not published, only your contacts can see your virtual card.",
    "&Home Information", "&Business Information", "&Identification Information",
    "&Publish in the directory my", "&My photo",
};

#define CHECK_SIZE(table) static_assert(std::size(table) == 1 + 2 * table##Count)
CHECK_SIZE(searchDialog);
CHECK_SIZE(cardDialog);
CHECK_SIZE(identificationPage);
CHECK_SIZE(businessPage);
CHECK_SIZE(homePage);
CHECK_SIZE(directoryPage);

} // namespace LangTexts
