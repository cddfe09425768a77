package tovin.engine;

import com.google.gson.JsonObject;
import java.util.List;
import java.util.regex.Pattern;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.type.ArrayType;
import javax.lang.model.type.ExecutableType;
import javax.lang.model.type.TypeKind;
import javax.lang.model.type.TypeMirror;

/** How items name what they offer: javac's printing of types, with simple names. */
final class Labels {
    /** A package qualifier before a type's name (packages are lower case by convention, types not). */
    private static final Pattern QUALIFIER = Pattern.compile("(?<![\\w$.])(?:[a-z_][\\w$]*\\.)+(?=[A-Za-z_$])");

    private Labels() {
    }

    /** The type as javac prints it, with its classes' simple names. */
    static String simple(TypeMirror type) {
        return simple(type.toString());
    }

    static String simple(String printed) {
        return QUALIFIER.matcher(printed).replaceAll("");
    }

    /** {@code name(Type1 p1, Type2 p2)}, a variable arity's last parameter as {@code Type... p}. */
    static String signature(String name, ExecutableElement method, ExecutableType type, List<String> names) {
        List<? extends TypeMirror> types = type.getParameterTypes();
        StringBuilder label = new StringBuilder(name).append('(');
        for (int i = 0; i < types.size(); i++) {
            if (i > 0) {
                label.append(", ");
            }
            TypeMirror parameter = types.get(i);
            if (method.isVarArgs() && i == types.size() - 1 && parameter.getKind() == TypeKind.ARRAY) {
                label.append(simple(((ArrayType) parameter).getComponentType())).append("...");
            } else {
                label.append(simple(parameter));
            }
            String given = names != null && names.size() == types.size() ? names.get(i)
                    : i < method.getParameters().size() ? method.getParameters().get(i).getSimpleName().toString()
                    : "arg" + i;
            label.append(' ').append(given);
        }
        return label.append(')').toString();
    }

    /** The protocol's position of an offset. */
    static JsonObject position(String text, int offset) {
        int line = 0;
        int lineStart = 0;
        for (int next = Documents.nextLine(text, 0); next >= 0 && next <= offset;
                next = Documents.nextLine(text, next)) {
            line++;
            lineStart = next;
        }
        JsonObject position = new JsonObject();
        position.addProperty("line", line);
        position.addProperty("character", offset - lineStart);
        return position;
    }

    static JsonObject range(String text, int start, int end) {
        JsonObject range = new JsonObject();
        range.add("start", position(text, start));
        range.add("end", position(text, end));
        return range;
    }
}
